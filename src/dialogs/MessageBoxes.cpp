#include "dialogs/MessageBoxes.h"

#include <QMessageBox>

namespace parvane::dialogs {

void QtMessageBoxes::information(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

bool QtMessageBoxes::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
           == QMessageBox::Ok;
}

} // namespace parvane::dialogs
