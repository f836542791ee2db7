#pragma once

#include "ports/text_box.h"
#include "qt/qt_widget.h"

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;

namespace vestrak {

// The text box port on a QLineEdit (one line) or a QPlainTextEdit (several lines). The text reads
// back as the control set it, line ends included, until the operator edits it. Typed characters
// pass through KeyPress, which may change or swallow them.
class QtTextBox final : public QtWidget<TextBox> {
public:
    QtTextBox(
        std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QLineEdit& editor);
    QtTextBox(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
        QPlainTextEdit& editor);

    [[nodiscard]] TextBoxLines lines() const
    {
        return m_LineEdit ? TextBoxLines::Single : TextBoxLines::Multiple;
    }
    [[nodiscard]] std::u16string text() const override { return m_Text; }
    void setText(const std::u16string& text) override;
    bool operatorType(const std::u16string& characters) override;

private:
    void watchKeys(QWidget& editor);
    // True when the key was handled here; false leaves it to the editor.
    bool keyPressed(const QKeyEvent& event);
    void insertTyped(char16_t character);
    void readEditor();

    QLineEdit* m_LineEdit = nullptr;
    QPlainTextEdit* m_TextEdit = nullptr;
    std::u16string m_Text;
};

} // namespace vestrak
