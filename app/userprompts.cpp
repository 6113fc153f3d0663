#include "app/userprompts.h"

#include <QMessageBox>
#include <QPushButton>

#include "app/text.h"
#include "window/look.h"

namespace trelvane {

bool UserPrompts::confirm(QWidget *parent, const QString &title, const QString &question)
{
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

void UserPrompts::error(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, text(WindowTitle), message);
}

bool UserPrompts::loadFailed(QWidget *parent, const QString &message, bool factoryOffered)
{
    QMessageBox box(QMessageBox::Critical, text(WindowTitle), message, QMessageBox::NoButton, parent);
    QPushButton *factory = nullptr;
    if (factoryOffered)
        factory = box.addButton(text(UseFactorySettingsText), QMessageBox::AcceptRole);
    // Enter, Escape and the close box all leave as a box without the choice would.
    QPushButton *close = box.addButton(QMessageBox::Close);
    box.setDefaultButton(close);
    box.setEscapeButton(close);
    box.exec();
    return factory && box.clickedButton() == factory;
}

}  // namespace trelvane
