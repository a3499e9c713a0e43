#pragma once

#include <QSqlDatabase>
#include <QString>

// Opens a database named as the home page names it: sqlite:PATH, or
// postgresql://USER@HOST:PORT/NAME with the password taken from PGPASSWORD
// by the driver itself. SQLite runs as the home page runs it (WAL, a commit
// on disk before it returns); PostgreSQL keeps its default commit. Prints the
// reason and ends the program when it cannot be opened.
QSqlDatabase openDatabase(const QString &url);

// Runs one statement; prints it with the reason and ends the program when it fails.
void runOrDie(QSqlDatabase &db, const QString &sql);
