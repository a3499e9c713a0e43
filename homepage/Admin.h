#pragma once

#include <QStringList>

class QTextStream;

// `suiranjuku-homepage admin COMMAND ...`: the publisher's commands on the
// hall of fame, run on the machine beside the servers, never through them.
// Takes the whole command line; answers the exit status.
int runAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err);
