#include "userprompts.h"

#include <QMessageBox>

namespace trelvane {

bool UserPrompts::confirm(QWidget *parent, const QString &title, const QString &question)
{
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void UserPrompts::error(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QStringLiteral("Trelvane Configuration Utility"), message);
}

}  // namespace trelvane
