#pragma once
// The message boxes the window shows. Tests substitute their own answers.

#include <QString>

class QWidget;

namespace trelvane {

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A Yes/No question with Yes as the default; true for Yes.
    virtual bool confirm(QWidget *parent, const QString &title, const QString &question);
    virtual void error(QWidget *parent, const QString &message);
    // The settings could not be loaded at start-up. Close is the default and
    // the Escape answer; only when factoryOffered is there a second button,
    // UseFactorySettingsText. True when the player chose it.
    virtual bool loadFailed(QWidget *parent, const QString &message, bool factoryOffered);
};

}  // namespace trelvane
