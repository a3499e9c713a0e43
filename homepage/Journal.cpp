#include "homepage/Journal.h"

#include <systemd/sd-daemon.h>

#include <sys/stat.h>
#include <unistd.h>

bool stderrIsJournal()
{
    const QByteArray stream = qgetenv("JOURNAL_STREAM");
    struct stat status = {};
    if (stream.isEmpty() || ::fstat(STDERR_FILENO, &status) != 0)
        return false;
    // Inherited by a child whose standard error went elsewhere, it names
    // another stream: compared, not trusted.
    return stream == QByteArray::number(quint64(status.st_dev)) + ':' + QByteArray::number(quint64(status.st_ino));
}

QByteArray journalPriority(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return SD_DEBUG;
    case QtInfoMsg:
        return SD_INFO;
    case QtWarningMsg:
        return SD_WARNING;
    case QtCriticalMsg:
        return SD_ERR;
    case QtFatalMsg:
        return SD_CRIT;
    }
    return SD_INFO;
}
