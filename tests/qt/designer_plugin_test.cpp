#include <QDesignerFormEditorInterface>
#include <QFile>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>
#include <memory>

// The plugin as Qt Designer loads it, through the built library only.
namespace {

QList<QDesignerCustomWidgetInterface*> pluginWidgets()
{
    QPluginLoader loader(QStringLiteral(VESTRAK_DESIGNER_PLUGIN));
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    EXPECT_NE(collection, nullptr) << loader.errorString().toStdString();
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface*> {};
}

} // namespace

TEST(DesignerPlugin, OffersBothControlsInAGroupOfTheirOwn)
{
    QStringList names;
    for (const QDesignerCustomWidgetInterface* widget : pluginWidgets()) {
        names << widget->name();
        EXPECT_EQ(widget->group(), "Vestrak Controls");
        EXPECT_FALSE(widget->icon().isNull());
        EXPECT_TRUE(widget->includeFile().startsWith("<vestrak/qt/")) << widget->includeFile().toStdString();
        EXPECT_TRUE(widget->domXml().contains("class=\"" + widget->name() + '"'));
    }
    EXPECT_EQ(names, QStringList({ "vestrak::CiTreeWidget", "vestrak::CiStatusWidget" }));
}

// A form being drawn keeps its settings in memory, and an object file too large to show reads as
// no file instead of stalling or ending Designer.
TEST(DesignerPlugin, FormsBeingDrawnLeaveTheUsersStoreAlone)
{
    const QTemporaryDir folder;
    const QString userStore = folder.filePath("settings.sqlite");
    qputenv("VESTRAK_SETTINGS", userStore.toUtf8());
    const QByteArray plant = "[TreeObjects]\nWW/Site=1,1,Water Works\nWW1/Intake=1,1,Intake\n";
    QFile file(folder.filePath("small.ini"));
    ASSERT_TRUE(
        file.open(QIODevice::WriteOnly) && file.write(plant) && file.copy(folder.filePath("huge.ini")));
    // Sparse: large on paper, nothing on the disk.
    ASSERT_TRUE(QFile::resize(folder.filePath("huge.ini"), 17 * 1024 * 1024));

    QDesignerFormEditorInterface formEditor;
    for (QDesignerCustomWidgetInterface* widget : pluginWidgets()) {
        widget->initialize(&formEditor);
        const std::unique_ptr<QWidget> control(widget->createWidget(nullptr));
        for (const char* name : { "missing.ini", "huge.ini", "small.ini" }) {
            control->setProperty("ObjectFile", folder.filePath(name));
            if (widget->name() == "vestrak::CiTreeWidget")
                control->setProperty("Style", 0x1619);
            EXPECT_EQ(
                control->findChild<QTreeView*>()->model()->rowCount(), QString(name) == "small.ini" ? 1 : 0)
                << widget->name().toStdString() << ' ' << name;
        }
    }
    EXPECT_FALSE(QFile::exists(userStore));
}
