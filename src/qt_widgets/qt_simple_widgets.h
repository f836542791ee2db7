#pragma once

#include "ports/file_system.h"
#include "ports/picture_box.h"
#include "qt_widgets/qt_widget.h"
#include "widgets/command_button_state.h"

class QAbstractButton;
class QLabel;

namespace vestrak {

// A picture box that shows the picture at its top left corner, clipped to the box. A file the
// picture check takes is drawn by Qt's image readers (TIFF needs the image-formats plugins).
class QtPictureBox final : public QtWidget<PictureBox> {
public:
    QtPictureBox(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QLabel& label,
        FileSystem& files);

    bool loadPicture(const std::u16string& path) override;
    [[nodiscard]] std::u16string picturePath() const override { return m_PicturePath; }

private:
    QLabel& m_Label;
    FileSystem& m_Files;
    std::u16string m_PicturePath;
};

// A command button drawn with its picture; a click of the operator's raises Click.
class QtCommandButton final : public QtWidget<CommandButtonState> {
public:
    QtCommandButton(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
        QAbstractButton& button, ButtonPicture picture);
};

} // namespace vestrak
