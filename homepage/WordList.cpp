#include "homepage/WordList.h"

#include <QFile>
#include <QMutexLocker>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

QString WordList::folded(const QString &text)
{
    const QString plain = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    QString kept;
    kept.reserve(plain.size());
    for (const QChar c : plain) {
        if (!c.isSpace() && !c.isPunct() && !c.isSymbol())
            kept += c;
    }
    return kept;
}

bool WordList::load(const QString &path, QString &why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(file.readAll());
    if (utf8.hasError()) {
        why = u"it is not UTF-8"_s;
        return false;
    }
    QStringList words;
    for (const QString &line : text.split(u'\n')) {
        const QString word = folded(line.section(u'#', 0, 0));
        if (!word.isEmpty())
            words.append(word);
    }
    const QMutexLocker lock(&mutex_);
    words_ = words;
    return true;
}

bool WordList::refuses(const QString &name) const
{
    const QString plain = folded(name);
    const QMutexLocker lock(&mutex_);
    for (const QString &word : words_) {
        if (plain.contains(word))
            return true;
    }
    return false;
}

qsizetype WordList::size() const
{
    const QMutexLocker lock(&mutex_);
    return words_.size();
}
