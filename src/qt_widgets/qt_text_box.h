#pragma once

#include "qt_widgets/qt_widget.h"
#include "widgets/text_box_state.h"

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;

namespace vestrak {

// The text box drawn by a QLineEdit (one line) or a QPlainTextEdit (several lines). Keys the
// operator types pass through KeyPress, which may change or swallow them.
class QtTextBox final : public QtWidget<TextBoxState> {
public:
    QtTextBox(
        std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QLineEdit& editor);
    QtTextBox(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
        QPlainTextEdit& editor);

    // Sends the characters to the editor as key presses, at the end of the text.
    bool operatorType(const std::u16string& characters) override;

private:
    void textChanged() override;
    void watchKeys(QWidget& editor);
    // True when the key was handled here; false leaves it to the editor.
    bool keyPressed(const QKeyEvent& event);
    void insertTyped(char16_t character);
    void readEditor();

    QLineEdit* m_LineEdit = nullptr;
    QPlainTextEdit* m_TextEdit = nullptr;
};

} // namespace vestrak
