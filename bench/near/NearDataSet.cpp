#include "NearDataSet.h"

#include <QDir>
#include <QFile>

QStringList NearDataSet::lightKinds()
{
    return {QStringLiteral("deleted"),        QStringLiteral("added"),          QStringLiteral("forms-replaced"),
            QStringLiteral("order-replaced"), QStringLiteral("punctuation"),    QStringLiteral("split"),
            QStringLiteral("joined"),         QStringLiteral("quotes-numbers"), QStringLiteral("synonyms"),
            QStringLiteral("family")};
}

bool NearDataSet::isNegative(const QString& kind)
{
    return kind == QStringLiteral("unrelated") || kind == QStringLiteral("rewrite");
}

bool NearDataSet::isKnownKind(const QString& kind)
{
    if (isNegative(kind))
        return true;
    const QStringList parts = kind.split(QChar(u'+'));
    if (parts.size() > 2 || (parts.size() == 2 && parts.at(0) == parts.at(1)))
        return false;
    for (const QString& part : parts)
        if (!lightKinds().contains(part))
            return false;
    return true;
}

bool NearDataSet::load(const QString& folder, QString& error)
{
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        error = QStringLiteral("no *.txt files in %1").arg(folder);
        return false;
    }
    for (const QString& name : files) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1").arg(file.fileName());
            return false;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QChar(u'\n'));
        bool unitInFile = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            const QString where = QStringLiteral("%1:%2").arg(name).arg(i + 1);
            if (line.isEmpty() || line.startsWith(QChar(u'#')))
                continue;
            const qsizetype colon = line.indexOf(QStringLiteral(": "));
            if (colon <= 0) {
                error = where + QStringLiteral(": expected \"kind: text\"");
                return false;
            }
            const QString kind = line.left(colon);
            const QString text = line.mid(colon + 2).trimmed();
            if (kind == QStringLiteral("O")) {
                units.append(text);
                unitInFile = true;
            } else if (!isKnownKind(kind)) {
                error = where + QStringLiteral(": unknown kind ") + kind;
                return false;
            } else if (!unitInFile) {
                error = where + QStringLiteral(": a row before any original");
                return false;
            } else {
                rows.append({kind, qint32(units.size() - 1), text, where});
            }
        }
    }
    return true;
}
