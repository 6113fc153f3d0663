#pragma once
// A window on a temporary game folder, with message boxes answered by the test.

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QList>
#include <QSlider>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/frmconfig.h"
#include "app/userprompts.h"
#include "diskfiles.h"
#include "previewrows.h"

namespace trelvane::testing {

class ScriptedPrompts : public UserPrompts {
public:
    bool confirm(QWidget *, const QString &title, const QString &question) override
    {
        questions << title + "|" + question;
        return answerYes;
    }
    void error(QWidget *, const QString &message) override { errors << message; }
    bool loadFailed(QWidget *, const QString &message, bool factoryOffered) override
    {
        errors << message;
        factoryOffers << factoryOffered;
        return factoryOffered && useFactorySettings;  // without the button there is no such answer
    }

    bool answerYes = true;
    bool useFactorySettings = false;
    QStringList questions;
    QStringList errors;
    QList<bool> factoryOffers;  // one entry per failed load
};

// The 19 lines of a file, CR LF after each.
inline QByteArray cfg(const QStringList &lines) { return (lines.join("\r\n") + "\r\n").toLatin1(); }

// A file equal to the window's state at creation: every handler stays quiet.
inline QStringList designTimeLines()
{
    return {"0", "6", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "1", "1", "1", "1", "1"};
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString &name) const { return dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        testing::writeFile(path(name).toStdString(), bytes.toStdString());
    }

    QByteArray readFile(const QString &name) const
    {
        return QByteArray::fromStdString(testing::readFile(path(name).toStdString()));
    }

    static void makePipe(const QString &path) { testing::makePipe(path.toStdString()); }

    // Writes trelvane.cfg and opens the window on it; returns Form_Load's answer.
    bool open(const QByteArray &settings)
    {
        writeFile("trelvane.cfg", settings);
        return openExisting();
    }

    bool openExisting()
    {
        window = std::make_unique<frmConfig>(dir.path(), prompts);
        return window->Form_Load();
    }

    template <typename T> T *get(const char *name) const
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QSlider *slider(const char *name) const { return get<QSlider>(name); }
    QCheckBox *check(const char *name) const { return get<QCheckBox>(name); }
    QComboBox *keys(int slot) const { return get<QComboBox>(QString("cmbKeys(%1)").arg(slot).toLatin1().constData()); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<frmConfig> window;
};

}  // namespace trelvane::testing
