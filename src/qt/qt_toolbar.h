#pragma once

#include "ports/toolbar.h"
#include "qt/qt_widget.h"

#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

class QToolButton;

namespace vestrak {

// A check button of a Qt toolbar: the pressed state is the tool button's checked state.
class QtToolbarButton final : public ToolbarButton {
public:
    QtToolbarButton(std::u16string key, std::int32_t image, QToolButton& button);

    [[nodiscard]] bool exists() const override { return m_Button != nullptr; }
    [[nodiscard]] std::u16string key() const override { return exists() ? m_Key : std::u16string(); }
    [[nodiscard]] std::int32_t image() const override { return exists() ? m_Image : 0; }
    [[nodiscard]] std::int32_t value() const override;
    void setValue(std::int32_t value) override;
    [[nodiscard]] std::u16string toolTipText() const override;
    void setToolTipText(const std::u16string& text) override;

    [[nodiscard]] QToolButton* button() const { return m_Button.data(); }
    void markRemoved() { m_Button = nullptr; }

private:
    std::u16string m_Key;
    std::int32_t m_Image;
    std::u16string m_ToolTip;
    QPointer<QToolButton> m_Button;
};

// A toolbar of 22 x 22 pixel check buttons that flow left to right and wrap into rows.
class QtToolbar final : public QtWidget<Toolbar> {
public:
    QtToolbar(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QWidget& bar,
        ImageList images);
    ~QtToolbar() override;

    [[nodiscard]] ImageList imageList() const override { return m_Images; }
    [[nodiscard]] double width() const override;
    [[nodiscard]] double height() const override;
    bool setWidth(double twips) override;
    bool setHeight(double twips) override;

    ButtonRef addButton(const std::u16string& key, std::int32_t image) override;
    void clearButtons() override;
    [[nodiscard]] std::int32_t buttonCount() const override;
    [[nodiscard]] ButtonRef button(std::int32_t index) const override;
    [[nodiscard]] ButtonRef findButton(const std::u16string& key) const override;
    bool operatorClick(const std::u16string& key) override;

private:
    void flowButtons();

    QWidget& m_Bar;
    ImageList m_Images;
    std::optional<double> m_WidthSet;
    std::vector<std::shared_ptr<QtToolbarButton>> m_Buttons;
};

} // namespace vestrak
