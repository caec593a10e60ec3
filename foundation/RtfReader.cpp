// RTF reader. One pass over the text: a group stack carries the character state and the
// destination; text is gathered until the state changes and then inserted with the format of
// that state.
#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cctype>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "foundation/Rtf.h"

namespace kavina {
namespace {

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0;  // 0: automatic
    int unicodeSkip = 1;
};

struct Font {
    QString name;
    int codePage = 0;  // 0: the document's code page
};

// Windows code pages of the font character sets a Central European rich-edit control writes.
int codePageOfCharset(int charset) {
    switch (charset) {
        case 0: return 1252;
        case 238: return 1250;
        case 204: return 1251;
        case 161: return 1253;
        case 162: return 1254;
        case 186: return 1257;
        default: return 0;
    }
}

bool isHexDigit(QChar ch) {
    return ch.unicode() < 128 && std::isxdigit(ch.unicode());
}

bool skippedDestination(const QString& word) {
    static const QStringList words = {
        QStringLiteral("info"),         QStringLiteral("stylesheet"),
        QStringLiteral("pict"),         QStringLiteral("object"),
        QStringLiteral("header"),       QStringLiteral("headerl"),
        QStringLiteral("headerr"),      QStringLiteral("headerf"),
        QStringLiteral("footer"),       QStringLiteral("footerl"),
        QStringLiteral("footerr"),      QStringLiteral("footerf"),
        QStringLiteral("footnote"),     QStringLiteral("fldinst"),
        QStringLiteral("listtable"),    QStringLiteral("listoverridetable"),
        QStringLiteral("rsidtbl"),      QStringLiteral("filetbl"),
        QStringLiteral("revtbl"),       QStringLiteral("pntext"),
        QStringLiteral("pntxta"),       QStringLiteral("pntxtb"),
        QStringLiteral("xe"),           QStringLiteral("tc"),
        QStringLiteral("themedata"),    QStringLiteral("colorschememapping"),
        QStringLiteral("latentstyles"), QStringLiteral("datastore"),
        QStringLiteral("userprops"),    QStringLiteral("docvar"),
        QStringLiteral("nonshppict"),   QStringLiteral("generator"),
    };
    return words.contains(word);
}

class Reader {
public:
    Reader(const QString& rtf, QTextDocument& document) : m_in(rtf), m_document(document), m_cursor(&document) {}

    void run();

private:
    // ---- tokens ----
    void readControl();
    void controlWord(const QString& word, std::optional<int> parameter);
    void controlSymbol(QChar symbol);
    void literal(QChar ch);
    void hexByte(int byte);

    // ---- groups and destinations ----
    void openGroup();
    void closeGroup();
    GroupState& state() { return m_stack.back(); }
    void fontTableText(QChar ch);
    void colorTableEnd();

    // ---- text ----
    void decodePendingBytes();
    void flushText();
    void paragraphEnd();
    void startBlockIfNeeded();
    QTextCharFormat charFormat() const;
    int codePage() const;
    QStringDecoder& decoder(int codePage);

    const QString& m_in;
    qsizetype m_pos = 0;
    QTextDocument& m_document;
    QTextCursor m_cursor;
    std::vector<GroupState> m_stack{GroupState{}};
    bool m_groupStart = false;  // the last token opened a group
    bool m_starred = false;     // "\*" opened the current group

    QHash<int, Font> m_fonts;
    int m_fontInTable = -1;
    QString m_fontName;
    int m_fontCharset = -1;
    std::vector<std::optional<QColor>> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    int m_defaultFont = 0;
    int m_documentCodePage = 1250;
    Qt::Alignment m_alignment = Qt::AlignLeft;

    QByteArray m_pendingBytes;
    QString m_pendingText;
    int m_skipCount = 0;       // replacement characters still to drop after \uN
    bool m_needBlock = false;  // a paragraph ended; the next content starts a new block
    bool m_blockHasContent = false;
    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

void Reader::run() {
    m_document.clear();
    m_cursor = QTextCursor(&m_document);
    while (m_pos < m_in.size()) {
        const QChar ch = m_in[m_pos++];
        if (ch == QLatin1Char('{')) {
            openGroup();
            continue;
        }
        const bool wasGroupStart = m_groupStart;
        m_groupStart = false;
        if (ch == QLatin1Char('}')) {
            closeGroup();
        } else if (ch == QLatin1Char('\\')) {
            m_groupStart = wasGroupStart;  // "{\*\dest" still counts as the start
            readControl();
        } else if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n')) {
            literal(ch);
        }
    }
    flushText();
    if (m_blockHasContent) paragraphEnd();
}

void Reader::readControl() {
    if (m_pos >= m_in.size()) return;
    const QChar first = m_in[m_pos];
    if (!first.isLetter() || first.unicode() > 127) {
        ++m_pos;
        if (first == QLatin1Char('\'')) {
            const QString digits = m_in.mid(m_pos, 2);
            m_pos += digits.size();
            if (digits.size() == 2 && isHexDigit(digits[0]) && isHexDigit(digits[1]))
                hexByte(digits.toInt(nullptr, 16));
            return;
        }
        controlSymbol(first);
        return;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_in.size() && m_in[m_pos].unicode() < 128 && m_in[m_pos].isLetter()) ++m_pos;
    const QString word = m_in.mid(start, m_pos - start);
    std::optional<int> parameter;
    const qsizetype numberStart = m_pos;
    if (m_pos < m_in.size() && m_in[m_pos] == QLatin1Char('-')) ++m_pos;
    while (m_pos < m_in.size() && m_in[m_pos].isDigit() && m_in[m_pos].unicode() < 128) ++m_pos;
    if (m_pos > numberStart) {
        bool ok = false;
        const int value = m_in.mid(numberStart, m_pos - numberStart).toInt(&ok);
        if (ok)
            parameter = value;
        else if (m_pos - numberStart == 1)
            m_pos = numberStart;  // a lone "-" is text
    }
    if (m_pos < m_in.size() && m_in[m_pos] == QLatin1Char(' ')) ++m_pos;
    controlWord(word, parameter);
}

void Reader::openGroup() {
    m_groupStart = true;
    m_starred = false;
    m_stack.push_back(m_stack.back());
}

void Reader::closeGroup() {
    if (state().destination == Destination::FontTable && !m_fontName.isEmpty()) fontTableText(QLatin1Char(';'));
    flushText();
    m_skipCount = 0;
    if (m_stack.size() > 1) m_stack.pop_back();
}

void Reader::controlWord(const QString& word, std::optional<int> parameter) {
    const bool groupStart = m_groupStart;
    m_groupStart = false;
    if (state().destination == Destination::Skip) return;
    const int value = parameter.value_or(1);

    if (groupStart && (m_starred || skippedDestination(word))) {
        if (word == QLatin1String("fonttbl")) {
            state().destination = Destination::FontTable;
        } else {
            flushText();
            state().destination = Destination::Skip;
        }
        return;
    }
    if (word == QLatin1String("fonttbl")) {
        state().destination = Destination::FontTable;
        return;
    }
    if (word == QLatin1String("colortbl")) {
        state().destination = Destination::ColorTable;
        return;
    }
    if (state().destination == Destination::FontTable) {
        if (word == QLatin1String("f")) {
            m_fontInTable = value;
            m_fontName.clear();
            m_fontCharset = -1;
        } else if (word == QLatin1String("fcharset")) {
            m_fontCharset = value;
        }
        return;
    }
    if (state().destination == Destination::ColorTable) {
        if (word == QLatin1String("red"))
            m_red = value;
        else if (word == QLatin1String("green"))
            m_green = value;
        else if (word == QLatin1String("blue"))
            m_blue = value;
        return;
    }

    const auto setChar = [this]<typename T>(T GroupState::*member, T newValue) {
        if (state().*member == newValue) return;
        decodePendingBytes();
        flushText();
        state().*member = newValue;
    };
    if (word == QLatin1String("par") || word == QLatin1String("page") || word == QLatin1String("sect"))
        paragraphEnd();
    else if (word == QLatin1String("pard"))
        m_alignment = Qt::AlignLeft;
    else if (word == QLatin1String("ql"))
        m_alignment = Qt::AlignLeft;
    else if (word == QLatin1String("qc"))
        m_alignment = Qt::AlignHCenter;
    else if (word == QLatin1String("qr"))
        m_alignment = Qt::AlignRight;
    else if (word == QLatin1String("qj"))
        m_alignment = Qt::AlignJustify;
    else if (word == QLatin1String("plain")) {
        decodePendingBytes();
        flushText();
        const GroupState old = state();
        state() = GroupState{};
        state().destination = old.destination;
        state().unicodeSkip = old.unicodeSkip;
    } else if (word == QLatin1String("b"))
        setChar(&GroupState::bold, value != 0);
    else if (word == QLatin1String("i"))
        setChar(&GroupState::italic, value != 0);
    else if (word == QLatin1String("ul") || word == QLatin1String("uld") || word == QLatin1String("uldb") ||
             word == QLatin1String("ulw") || word == QLatin1String("uldash") || word == QLatin1String("ulth"))
        setChar(&GroupState::underline, value != 0);
    else if (word == QLatin1String("ulnone"))
        setChar(&GroupState::underline, false);
    else if (word == QLatin1String("f"))
        setChar(&GroupState::font, value);
    else if (word == QLatin1String("fs"))
        setChar(&GroupState::halfPoints, value > 0 ? value : 24);
    else if (word == QLatin1String("cf"))
        setChar(&GroupState::color, value);
    else if (word == QLatin1String("uc"))
        state().unicodeSkip = qMax(0, value);
    else if (word == QLatin1String("u")) {
        decodePendingBytes();
        m_pendingText += QChar(char16_t(value < 0 ? value + 65536 : value));
        m_skipCount = state().unicodeSkip;
        return;
    } else if (word == QLatin1String("deff"))
        m_defaultFont = value;
    else if (word == QLatin1String("ansicpg"))
        m_documentCodePage = value;
    else if (word == QLatin1String("tab"))
        literal(QLatin1Char('\t'));
    else if (word == QLatin1String("line"))
        literal(QChar::LineSeparator);
    else if (word == QLatin1String("emdash"))
        literal(QChar(0x2014));
    else if (word == QLatin1String("endash"))
        literal(QChar(0x2013));
    else if (word == QLatin1String("bullet"))
        literal(QChar(0x2022));
    else if (word == QLatin1String("lquote"))
        literal(QChar(0x2018));
    else if (word == QLatin1String("rquote"))
        literal(QChar(0x2019));
    else if (word == QLatin1String("ldblquote"))
        literal(QChar(0x201C));
    else if (word == QLatin1String("rdblquote"))
        literal(QChar(0x201D));
    m_skipCount = 0;
}

void Reader::controlSymbol(QChar symbol) {
    const bool groupStart = m_groupStart;
    m_groupStart = false;
    if (symbol == QLatin1Char('*')) {
        m_starred = groupStart;
        m_groupStart = groupStart;
        return;
    }
    if (symbol == QLatin1Char('\\') || symbol == QLatin1Char('{') || symbol == QLatin1Char('}'))
        literal(symbol);
    else if (symbol == QLatin1Char('~'))
        literal(QChar(0x00A0));
    else if (symbol == QLatin1Char('_'))
        literal(QChar(0x2011));
    else if (symbol == QLatin1Char('\n') || symbol == QLatin1Char('\r')) {
        if (state().destination == Destination::Text) paragraphEnd();
    }
}

void Reader::literal(QChar ch) {
    if (state().destination == Destination::Skip) return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (state().destination == Destination::FontTable) {
        fontTableText(ch);
        return;
    }
    if (state().destination == Destination::ColorTable) {
        if (ch == QLatin1Char(';')) colorTableEnd();
        return;
    }
    decodePendingBytes();
    m_pendingText += ch;
}

void Reader::hexByte(int byte) {
    if (state().destination == Destination::Skip) return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (state().destination == Destination::FontTable) {
        const int page = m_fontCharset >= 0 ? codePageOfCharset(m_fontCharset) : 0;
        const QString decoded = decoder(page != 0 ? page : m_documentCodePage).decode(QByteArray(1, char(byte)));
        if (!decoded.isEmpty()) fontTableText(decoded[0]);
        return;
    }
    if (state().destination != Destination::Text) return;
    m_pendingBytes += char(byte);
}

void Reader::fontTableText(QChar ch) {
    if (ch != QLatin1Char(';')) {
        m_fontName += ch;
        return;
    }
    if (m_fontInTable >= 0)
        m_fonts.insert(m_fontInTable,
                       Font{m_fontName.trimmed(), m_fontCharset >= 0 ? codePageOfCharset(m_fontCharset) : 0});
    m_fontName.clear();
}

void Reader::colorTableEnd() {
    if (m_red < 0 && m_green < 0 && m_blue < 0)
        m_colors.push_back(std::nullopt);
    else
        m_colors.push_back(QColor(qBound(0, m_red, 255), qBound(0, m_green, 255), qBound(0, m_blue, 255)));
    m_red = m_green = m_blue = -1;
}

int Reader::codePage() const {
    const int font = m_stack.back().font >= 0 ? m_stack.back().font : m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && it->codePage != 0) return it->codePage;
    return m_documentCodePage;
}

QStringDecoder& Reader::decoder(int codePage) {
    std::unique_ptr<QStringDecoder>& slot = m_decoders[codePage];
    if (!slot) {
        slot = std::make_unique<QStringDecoder>(QStringLiteral("windows-%1").arg(codePage).toLatin1().constData());
        if (!slot->isValid()) slot = std::make_unique<QStringDecoder>("windows-1250");
    }
    return *slot;
}

void Reader::decodePendingBytes() {
    if (m_pendingBytes.isEmpty()) return;
    m_pendingText += decoder(codePage()).decode(m_pendingBytes).operator QString();
    m_pendingBytes.clear();
}

QTextCharFormat Reader::charFormat() const {
    const GroupState& s = m_stack.back();
    QTextCharFormat format;
    const auto font = m_fonts.find(s.font >= 0 ? s.font : m_defaultFont);
    if (font != m_fonts.end() && !font->name.isEmpty()) format.setFontFamilies(QStringList{font->name});
    format.setFontPointSize(s.halfPoints / 2.0);
    format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(s.italic);
    format.setFontUnderline(s.underline);
    if (s.color > 0 && size_t(s.color) < m_colors.size() && m_colors[size_t(s.color)])
        format.setForeground(*m_colors[size_t(s.color)]);
    return format;
}

void Reader::startBlockIfNeeded() {
    if (!m_needBlock) return;
    m_cursor.insertBlock();
    m_needBlock = false;
    m_blockHasContent = false;
}

void Reader::flushText() {
    decodePendingBytes();
    if (m_pendingText.isEmpty()) return;
    startBlockIfNeeded();
    m_cursor.insertText(m_pendingText, charFormat());
    m_pendingText.clear();
    m_blockHasContent = true;
}

void Reader::paragraphEnd() {
    flushText();
    startBlockIfNeeded();
    QTextBlockFormat block = m_cursor.blockFormat();
    block.setAlignment(m_alignment);
    m_cursor.setBlockFormat(block);
    if (!m_blockHasContent) m_cursor.setBlockCharFormat(charFormat());
    m_needBlock = true;
    m_blockHasContent = false;
}

}  // namespace

bool isRtf(const QString& memo) {
    return memo.trimmed().startsWith(QLatin1String("{\\rtf"));
}

void readRtf(const QString& rtf, QTextDocument& document) {
    Reader(rtf, document).run();
}

void readFooterText(const QString& memo, QTextDocument& document) {
    if (isRtf(memo))
        readRtf(memo, document);
    else
        document.setPlainText(memo);
}

}  // namespace kavina
