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
};

}  // namespace trelvane
