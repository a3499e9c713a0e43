#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

// Words the publisher does not take in a name, read from a file (UTF-8, one
// a line, `#` starting a comment). A name is refused when it holds one after
// both are folded alike: NFKC (full-width and other compatibility forms to
// their plain letters), case folding, and without the spaces and
// punctuation one may put between the letters. Read again on demand while
// servers ask it from any thread.
class WordList {
public:
    // Reads the file; false, with the reason in `why`, when it cannot, and
    // the words read before are kept.
    bool load(const QString &path, QString &why);
    bool refuses(const QString &name) const;
    qsizetype size() const;

    // The form a name and a word are compared in.
    static QString folded(const QString &text);

private:
    mutable QMutex mutex_;
    QStringList words_;   // folded
};
