#include "qt_widgets/qt_simple_widgets.h"

#include "qt_widgets/qt_images.h"
#include "widgets/picture_check.h"

#include <QAbstractButton>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

namespace vestrak {

namespace {

// Qt's buttons hand the focus on to the next widget on an arrow key, often another control's:
// on the expand button of a collapsed tree the operator's next Down would pick an object there.
class ArrowKeysStayOnTheButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

QtPictureBox::QtPictureBox(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
    QLabel& label, FileSystem& files)
    : QtWidget(std::move(name), design, visible, host, label)
    , m_Label(label)
    , m_Files(files)
{
    m_Label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool QtPictureBox::loadPicture(const std::u16string& path)
{
    const PictureCheck checked = CheckPicture(m_Files, path, PictureBytes::WholeFile);
    if (!checked.format)
        return false;
    const std::string_view format = PictureFormatName(*checked.format);
    const QImage picture = QImage::fromData(
        QByteArrayView(checked.bytes), QByteArray(format.data(), qsizetype(format.size())).constData());
    if (picture.isNull())
        return false;
    m_Label.setPixmap(QPixmap::fromImage(picture));
    m_PicturePath = path;
    return true;
}

QtCommandButton::QtCommandButton(std::u16string name, const Geometry& design, bool visible,
    QtWidgetHost& host, QAbstractButton& button, ButtonPicture picture)
    : QtWidget(std::move(name), design, visible, host, button, picture)
{
    button.setIcon(buttonPictureIcon(picture));
    button.setIconSize(buttonPictureSize(picture));
    QObject::connect(&button, &QAbstractButton::clicked, &context(), [this] { Click(); });
    button.installEventFilter(new ArrowKeysStayOnTheButton(&button));
}

} // namespace vestrak
