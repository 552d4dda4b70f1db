// File helpers shared by the tests: whole-file reads and writes, and a forked child for what
// must not touch the test process (lowered limits, dropped privileges, code that may not end).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Creates or replaces the file with exactly these bytes (a failed write fails the test).
inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

// Runs body in a forked child and gives its exit code: 3 when body threw, -1 when the child did
// not end by itself (a signal, such as the alarm after `seconds`, which keeps a runaway body from
// hanging the suite). The child leaves with _exit: nothing of the test process is torn down twice.
inline int exitCodeInChild(const std::function<int()> &body, unsigned seconds = 60)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(seconds);
        int code = 3; // an exception: the child must not go on to run the rest of the suite
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    if (child < 0)
        return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
