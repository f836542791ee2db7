#pragma once

#include "headless/headless_widget.h"
#include "ports/command_button.h"
#include "ports/picture_box.h"
#include "ports/popup_menu.h"
#include "ports/text_box.h"

#include <vector>

namespace vestrak {

class HeadlessTextBox final : public HeadlessWidget<TextBox> {
public:
    HeadlessTextBox(
        std::u16string name, const Geometry& design, bool visible, FocusTracker& focus, TextBoxLines lines)
        : HeadlessWidget(std::move(name), design, visible, focus)
        , m_Lines(lines)
    {
    }

    [[nodiscard]] TextBoxLines lines() const { return m_Lines; }
    [[nodiscard]] std::u16string text() const override { return m_Text; }
    void setText(const std::u16string& text) override { m_Text = text; }
    bool operatorType(const std::u16string& characters) override;

private:
    TextBoxLines m_Lines;
    std::u16string m_Text;
};

// Knows a picture by the signature of its file: BMP, JPEG, GIF or TIFF.
class HeadlessPictureBox final : public HeadlessWidget<PictureBox> {
public:
    using HeadlessWidget::HeadlessWidget;

    bool loadPicture(const std::u16string& path) override;
    [[nodiscard]] std::u16string picturePath() const override { return m_PicturePath; }

private:
    std::u16string m_PicturePath;
};

class HeadlessCommandButton final : public HeadlessWidget<CommandButton> {
public:
    HeadlessCommandButton(
        std::u16string name, const Geometry& design, bool visible, FocusTracker& focus, ButtonPicture picture)
        : HeadlessWidget(std::move(name), design, visible, focus)
        , m_Picture(picture)
    {
    }

    [[nodiscard]] ButtonPicture picture() const override { return m_Picture; }
    bool operatorClick() override;

private:
    ButtonPicture m_Picture;
};

class HeadlessPopupMenu final : public HeadlessWidget<PopupMenu> {
public:
    HeadlessPopupMenu(std::u16string name, FocusTracker& focus, const std::u16string& firstItemCaption)
        : HeadlessWidget(std::move(name), Geometry {}, false, focus)
        , m_Captions { firstItemCaption }
    {
    }

    [[nodiscard]] std::int32_t itemCount() const override
    {
        return static_cast<std::int32_t>(m_Captions.size());
    }
    bool addItem(std::int32_t index) override;
    bool removeItem(std::int32_t index) override;
    [[nodiscard]] std::u16string caption(std::int32_t index) const override;
    bool setCaption(std::int32_t index, const std::u16string& caption) override;
    void popup() override
    {
        m_Open = true;
        Shown();
    }
    bool operatorChoose(std::int32_t index) override;

private:
    [[nodiscard]] bool holds(std::int32_t index) const { return index >= 0 && index < itemCount(); }

    std::vector<std::u16string> m_Captions;
    bool m_Open = false;
};

} // namespace vestrak
