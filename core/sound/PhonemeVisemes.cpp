#include "core/sound/PhonemeVisemes.h"

#include <QHash>

namespace {

const QHash<QString, int> &visemeTable()
{
    static const QHash<QString, int> table = [] {
        const std::pair<int, const char *> groups[] = {
            {1, "æ ə ʌ ɐ a"}, {2, "ɑ"},        {3, "ɔ ɒ"},     {4, "e eɪ ɛ ʊ"},  {5, "ɜ ɝ ɚ"},
            {6, "j i ɪ ᵻ"},   {7, "w u"},      {8, "o oʊ əʊ"}, {9, "aʊ"},        {10, "ɔɪ"},
            {11, "aɪ"},       {12, "h"},       {13, "ɹ r ɾ"},  {14, "l ɫ"},      {15, "s z"},
            {16, "ʃ ʒ tʃ dʒ"}, {17, "θ ð"},    {18, "f v"},    {19, "t d n ʔ"},  {20, "k ɡ g ŋ x"},
            {21, "p b m"},
        };
        QHash<QString, int> t;
        for (const auto &[viseme, names] : groups)
            for (const QString &name : QString::fromUtf8(names).split(u' '))
                t.insert(name, viseme);
        return t;
    }();
    return table;
}

bool isVowel(char32_t c)
{
    static const std::u32string vowels = U"iyɨʉɯuɪʏʊeøɘɵɤoəɛœɜɞʌɔæɐaɶɑɒɚɝᵻᵿ";
    return vowels.find(c) != std::u32string::npos;
}

// Stress marks, length marks and the tie bars that join two symbols.
QString withoutMarks(const QString &name)
{
    QString out;
    for (const QChar c : name)
        if (c != u'ˈ' && c != u'ˌ' && c != u'ː' && c != u'ˑ' && c != QChar(0x0361) && c != QChar(0x035C)
            && c != QChar(0x203F))
            out += c;
    return out;
}

} // namespace

int visemeForPhoneme(const QString &ipaName)
{
    const QHash<QString, int> &table = visemeTable();
    if (const auto it = table.constFind(ipaName); it != table.cend())
        return *it;
    const QString bare = withoutMarks(ipaName);
    if (bare.isEmpty() || bare.startsWith(u'_'))
        return 0;
    if (const auto it = table.constFind(bare); it != table.cend())
        return *it;
    for (const char32_t c : bare.toStdU32String())
        if (isVowel(c))
            return table.value(QString::fromStdU32String(std::u32string(1, c)), 1);
    return 19;
}

QString phonemeName(const char (&field)[8])
{
    return QString::fromUtf8(field, qstrnlen(field, sizeof field));
}
