#pragma once

#include "headless/headless_widget.h"
#include "ports/file_system.h"
#include "ports/picture_box.h"

namespace vestrak {

// Takes a picture that the picture check knows by the header of its file: nothing is drawn.
class HeadlessPictureBox final : public HeadlessWidget<PictureBox> {
public:
    HeadlessPictureBox(
        std::u16string name, const Geometry& design, bool visible, WidgetHost& host, FileSystem& files);

    bool loadPicture(const std::u16string& path) override;
    [[nodiscard]] std::u16string picturePath() const override { return m_PicturePath; }

private:
    FileSystem& m_Files;
    std::u16string m_PicturePath;
};

} // namespace vestrak
