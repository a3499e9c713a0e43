#pragma once

#include <QByteArray>
#include <QtGlobal>

// systemd hands standard error to the journal and names that stream in
// JOURNAL_STREAM. Lines written there then start with their priority in
// the kernel's "<N>" form, and carry no time of their own: the journal
// stamps each line itself.
bool stderrIsJournal();

// The "<N>" a message of this kind starts with in the journal: <3> errors,
// <4> warnings, <6> notices.
QByteArray journalPriority(QtMsgType type);
