#pragma once

#include <QHash>
#include <QList>
#include <QString>

// A page's HTML with named holes, read once: {{name}} takes plain text, which
// is escaped; {{{name}}} takes HTML that the site has put together itself.
class Template {
public:
    using Values = QHash<QString, QString>;

    explicit Template(const QString &source);
    // A template compiled into the program (under :/pages/).
    static Template compiled(const QString &name);

    // Every hole filled; a hole without a value stays empty.
    QString render(const Values &values) const;

private:
    struct Piece {
        QString text;   // literal HTML, or the hole's name
        enum Kind { Literal, Text, Html } kind;
    };
    QList<Piece> pieces_;
};

// Text made safe to stand anywhere in HTML: in an element or in a quoted
// attribute.
QString escapeHtml(QStringView text);
