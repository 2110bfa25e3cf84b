#include "qtdraw/QtText.h"

#include "diagram/Utf8Text.h"

#include <QStringDecoder>

QString TextFromBytes(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(bytes);
}

namespace {

bool IsControl(char16_t c) {
    return (c < 0x20 && c != u'\t') || (c >= 0x7f && c < 0xa0);
}

QString ShownLine(std::string_view bytes) {
    // No character takes more than four bytes: a line of megabytes is not
    // decoded whole for the few hundred characters shown.
    const std::string_view head = CutUtf8(bytes, 4 * kMaxMessageLineCharacters);
    QString shown;
    int characters = 0;
    for (const QChar c : TextFromBytes(head)) {
        // The second half of a character of two UTF-16 units goes with it.
        if (!c.isLowSurrogate()) {
            if (characters == kMaxMessageLineCharacters)
                return shown + QStringLiteral("...");
            ++characters;
        }
        if (IsControl(c.unicode()))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            shown += c;
    }
    return head.size() < bytes.size() ? shown + QStringLiteral("...") : shown;
}

} // namespace

QString MessageBoxText(std::string_view message) {
    QString text;
    for (std::size_t begin = 0;;) {
        const std::size_t end = message.find('\n', begin);
        text += ShownLine(message.substr(begin, end - begin));
        if (end == std::string_view::npos)
            return text;
        text += u'\n';
        begin = end + 1;
    }
}
