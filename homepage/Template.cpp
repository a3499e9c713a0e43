#include "homepage/Template.h"

#include <QFile>

using namespace Qt::StringLiterals;

Template::Template(const QString &source)
{
    qsizetype at = 0;
    while (at < source.size()) {
        const qsizetype open = source.indexOf("{{"_L1, at);
        if (open < 0)
            break;
        const bool html = source.mid(open, 3) == "{{{"_L1;
        const QLatin1StringView closing = html ? "}}}"_L1 : "}}"_L1;
        const qsizetype nameAt = open + closing.size();
        const qsizetype close = source.indexOf(closing, nameAt);
        if (close < 0)
            break;
        pieces_.append({source.mid(at, open - at), Piece::Literal});
        pieces_.append({source.mid(nameAt, close - nameAt).trimmed(), html ? Piece::Html : Piece::Text});
        at = close + closing.size();
    }
    pieces_.append({source.mid(at), Piece::Literal});
}

Template Template::compiled(const QString &name)
{
    QFile file(u":/pages/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the page template %s is not compiled in", qPrintable(name));
    return Template(QString::fromUtf8(file.readAll()));
}

QString Template::render(const Values &values) const
{
    QString page;
    for (const Piece &piece : pieces_) {
        switch (piece.kind) {
        case Piece::Literal:
            page += piece.text;
            break;
        case Piece::Text:
            page += escapeHtml(values.value(piece.text));
            break;
        case Piece::Html:
            page += values.value(piece.text);
            break;
        }
    }
    return page;
}

QString escapeHtml(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': escaped += "&amp;"_L1; break;
        case u'<': escaped += "&lt;"_L1; break;
        case u'>': escaped += "&gt;"_L1; break;
        case u'"': escaped += "&quot;"_L1; break;
        case u'\'': escaped += "&#39;"_L1; break;
        default: escaped += c;
        }
    }
    return escaped;
}
