// feed PLANT_FOLDER: a status tree answered by the MQTT feed from a broker that cannot be reached,
// and Sparkplug B status rules; writes what the feed knows of a tag and how many rules it read.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <vestrak/feeds/feed_status_answer.h>
#include <vestrak/feeds/mqtt_tag_feed.h>
#include <vestrak/feeds/sparkplug_feed.h>
#include <vestrak/qt/cistatus_widget.h>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2 || !QDir::setCurrent(argv[1]))
        return 2;
    // Nothing listens on port 1: every tag is unknown.
    const vestrak::ParsedFeedUrl parsed = vestrak::ParseFeedUrl(QStringLiteral("mqtt://127.0.0.1:1/plant"));
    const vestrak::SparkplugStatusRules::Read rules
        = vestrak::SparkplugStatusRules::FromText("WW_* | true | 4\n* | * | 2\n");
    if (!parsed.options || !rules.rules)
        return 2;
    vestrak::MqttTagFeed feed(*parsed.options);
    vestrak::CiStatusWidget status;
    const vestrak::Connection answering = vestrak::AnswerGetStatusFromFeed(status.control(), feed);
    status.setObjectFile(QStringLiteral("status.ini"));
    feed.start();
    QTimer::singleShot(0, [&] {
        QTextStream out(stdout);
        out << "WW_P101_ST: " << feed.status(QStringLiteral("WW_P101_ST")) << '\n'
            << "rules: " << rules.rules->size() << '\n';
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
