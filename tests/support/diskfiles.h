#pragma once
// Small file helpers for tests that check what is left on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace trelvane::testing {

inline QByteArray bytesOf(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(content), content.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

// Everything in a folder, hidden files included: a stray temporary file shows here.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Permission bits do not stop the superuser; tests that rely on them say so.
inline bool permissionsStopWrites()
{
    QTemporaryDir probe;
    QFile::setPermissions(probe.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile f(QDir(probe.path()).filePath(QStringLiteral("probe")));
    const bool created = f.open(QIODevice::WriteOnly);
    f.close();
    QFile::setPermissions(probe.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return !created;
}

}  // namespace trelvane::testing
