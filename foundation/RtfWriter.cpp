// RTF writer, in the dialect of a rich-edit control: a font table with the Central European
// character set, a colour table whose entry 0 is the automatic colour, "\pard" paragraphs
// ended by "\par", and character properties written only where they change.
#include <QColor>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

#include "foundation/Rtf.h"

namespace kavina {
namespace {

struct CharProps {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0;
};

QString familyOf(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

class Writer {
public:
    explicit Writer(const QTextDocument& document) : m_document(document) {}
    QString run();

private:
    void collectTables();
    int fontIndex(const QTextCharFormat& format) const;
    int colorIndex(const QTextCharFormat& format) const;
    CharProps propsOf(const QTextCharFormat& format) const;
    void change(const CharProps& next);
    void word(const QString& control);
    void text(const QString& text);
    void block(const QTextBlock& block);

    const QTextDocument& m_document;
    QStringList m_fonts;
    QList<QColor> m_colors;
    QString m_out;
    CharProps m_current;
    bool m_afterWord = false;  // a control word was written; text needs a delimiting blank
    QStringEncoder m_encoder{"windows-1250"};
    QStringDecoder m_decoder{"windows-1250"};
};

QString Writer::run() {
    collectTables();
    m_out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1038{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i)
        m_out += QStringLiteral("{\\f%1\\fnil\\fcharset238 %2;}").arg(i).arg(m_fonts[i]);
    m_out += QStringLiteral("}\r\n");
    if (!m_colors.isEmpty()) {
        m_out += QStringLiteral("{\\colortbl ;");
        for (const QColor& color : m_colors)
            m_out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(color.red()).arg(color.green()).arg(color.blue());
        m_out += QStringLiteral("}\r\n");
    }
    m_out += QStringLiteral("\\viewkind4\\uc1");
    m_afterWord = true;
    const bool empty = m_document.blockCount() == 1 && m_document.firstBlock().length() <= 1;
    if (!empty)
        for (QTextBlock b = m_document.firstBlock(); b.isValid(); b = b.next()) block(b);
    m_out += QStringLiteral("}\r\n");
    return m_out;
}

void Writer::collectTables() {
    const auto addFont = [this](const QTextCharFormat& format) {
        const QString family = familyOf(format);
        if (!family.isEmpty() && !m_fonts.contains(family)) m_fonts << family;
    };
    const auto addColor = [this](const QTextCharFormat& format) {
        if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
            const QColor color = format.foreground().color();
            if (!m_colors.contains(color)) m_colors << color;
        }
    };
    for (QTextBlock b = m_document.firstBlock(); b.isValid(); b = b.next()) {
        addFont(b.charFormat());
        addColor(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            addFont(it.fragment().charFormat());
            addColor(it.fragment().charFormat());
        }
    }
    // A fragment without a family of its own is written in font 0, the document's font.
    if (m_fonts.isEmpty()) m_fonts << m_document.defaultFont().family();
}

int Writer::fontIndex(const QTextCharFormat& format) const {
    return qMax(0, int(m_fonts.indexOf(familyOf(format))));
}

int Writer::colorIndex(const QTextCharFormat& format) const {
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush) return 0;
    return int(m_colors.indexOf(format.foreground().color())) + 1;
}

CharProps Writer::propsOf(const QTextCharFormat& format) const {
    CharProps props;
    props.font = fontIndex(format);
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : 12.0;
    props.halfPoints = int(std::lround(points * 2));
    props.bold = format.fontWeight() >= QFont::Bold;
    props.italic = format.fontItalic();
    props.underline = format.fontUnderline();
    props.color = colorIndex(format);
    return props;
}

void Writer::word(const QString& control) {
    m_out += QLatin1Char('\\') + control;
    m_afterWord = true;
}

void Writer::change(const CharProps& next) {
    const auto toggle = [this](bool on, const char* name, const char* off) {
        word(on ? QString::fromLatin1(name) : QString::fromLatin1(off));
    };
    if (next.color != m_current.color) word(QStringLiteral("cf%1").arg(next.color));
    if (next.bold != m_current.bold) toggle(next.bold, "b", "b0");
    if (next.italic != m_current.italic) toggle(next.italic, "i", "i0");
    if (next.underline != m_current.underline) toggle(next.underline, "ul", "ulnone");
    if (next.font != m_current.font) word(QStringLiteral("f%1").arg(next.font));
    if (next.halfPoints != m_current.halfPoints) word(QStringLiteral("fs%1").arg(next.halfPoints));
    m_current = next;
}

void Writer::text(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const char16_t code = ch.unicode();
        if (code == '\t') {
            word(QStringLiteral("tab"));
            continue;
        }
        if (ch == QChar::LineSeparator) {
            word(QStringLiteral("line"));
            continue;
        }
        if (code == 0x00A0) {
            word(QStringLiteral("~"));
            m_afterWord = false;
            continue;
        }
        if (code < 0x20) continue;
        if (m_afterWord) m_out += QLatin1Char(' ');
        m_afterWord = false;
        if (code == '\\' || code == '{' || code == '}') {
            m_out += QLatin1Char('\\') + ch;
        } else if (code < 0x80) {
            m_out += ch;
        } else {
            const QByteArray byte = m_encoder.encode(QString(ch));
            if (!ch.isSurrogate() && byte.size() == 1 && QString(m_decoder.decode(byte)) == QString(ch)) {
                m_out += QStringLiteral("\\'%1").arg(uchar(byte[0]), 2, 16, QLatin1Char('0'));
            } else {
                // Each UTF-16 unit as a signed number, "?" for readers without Unicode.
                m_out += QStringLiteral("\\u%1?").arg(int(int16_t(code)));
            }
        }
    }
}

void Writer::block(const QTextBlock& b) {
    word(QStringLiteral("pard"));
    const Qt::Alignment alignment = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        word(QStringLiteral("qc"));
    else if (alignment & Qt::AlignJustify)
        word(QStringLiteral("qj"));
    else if (alignment & Qt::AlignRight)
        word(QStringLiteral("qr"));
    if (b.length() <= 1) change(propsOf(b.charFormat()));
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        change(propsOf(it.fragment().charFormat()));
        text(it.fragment().text());
    }
    word(QStringLiteral("par"));
    m_out += QStringLiteral("\r\n");
}

}  // namespace

QString writeRtf(const QTextDocument& document) {
    return Writer(document).run();
}

}  // namespace kavina
