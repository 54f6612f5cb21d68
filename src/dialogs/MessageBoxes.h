#pragma once

#include <QString>

class QWidget;

namespace parvane::dialogs {

// The message boxes of the program, behind an interface so that tests answer them instead of a
// user. Texts are shown as given; "\n" separates lines.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;

    // A box with an OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // A box with OK and Cancel; true when the user chose OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Modal QMessageBox boxes.
class QtMessageBoxes final : public MessageBoxes
{
public:
    void information(QWidget* parent, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
};

} // namespace parvane::dialogs
