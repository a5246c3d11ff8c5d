#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace ponderix {

// The keyed table of every user-visible text and named program constant.
// Keys: TXTnnnnn for texts, MENnnnnn for menu captions, and named keys such as
// Program_Name. Read-only once built; a key that is not in it yields "".
class TextTable final {
public:
    static const TextTable& builtIn();

    QString text(QStringView key) const;
    QStringList keys() const; // sorted

private:
    TextTable();

    QHash<QString, QString> m_texts;
};

} // namespace ponderix
