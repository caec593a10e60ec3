#include "foundation/Rtf.h"

#include <gtest/gtest.h>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include "QtPrinters.h"

namespace kavina {
namespace {

// Each paragraph as "alignment: text[font size flags colour] ...": content and formatting in
// one comparable text.
QString describe(const QTextDocument& document) {
    QStringList blocks;
    for (QTextBlock b = document.firstBlock(); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        QString line = a & Qt::AlignHCenter   ? QStringLiteral("center:")
                       : a & Qt::AlignJustify ? QStringLiteral("justify:")
                       : a & Qt::AlignRight   ? QStringLiteral("right:")
                                              : QStringLiteral("left:");
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            QString flags;
            if (f.fontWeight() >= QFont::Bold) flags += QLatin1Char('b');
            if (f.fontItalic()) flags += QLatin1Char('i');
            if (f.fontUnderline()) flags += QLatin1Char('u');
            const QString color =
                f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : QString();
            line += QStringLiteral(" %1[%2 %3 %4 %5]")
                        .arg(it.fragment().text(), f.fontFamilies().toStringList().value(0))
                        .arg(f.fontPointSize())
                        .arg(flags, color);
        }
        blocks << line;
    }
    return blocks.join(QLatin1Char('\n'));
}

QString described(const QString& rtf) {
    QTextDocument document;
    readRtf(rtf, document);
    return describe(document);
}

const char* const kRichEditFooter =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1038{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset238"
    "{\\*\\panose 020b0604020202020204}Arial;}{\\f1\\fnil\\fcharset238 Tahoma;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
    "{\\*\\generator Msftedit 5.41.15.1515;}\\viewkind4\\uc1\\pard\\qc\\b\\f0\\fs20 Sz\\'e1mla "
    "l\\'e1bl\\'e9c\\b0\\par\r\n"
    "\\pard\\cf1\\i\\f1\\fs16 \\'e1rv\\'edzt\\'fbr\\'f5 t\\'fck\\'f6rf\\'far\\'f3g\\'e9p\\cf0\\i0\\par\r\n"
    "\\pard\\qr\\ul Jobbra\\ulnone\\par\r\n"
    "}\r\n";

TEST(RtfTest, ReadsWhatARichEditControlWrites) {
    EXPECT_EQ(described(QString::fromLatin1(kRichEditFooter)),
              QStringLiteral("center: Számla lábléc[Arial 10 b ]\n"
                             "left: árvíztűrő tükörfúrógép[Tahoma 8 i #ff0000]\n"
                             "right: Jobbra[Tahoma 8 u ]"));
}

TEST(RtfTest, FooterSurvivesReadWriteRead) {
    QTextDocument first;
    readRtf(QString::fromLatin1(kRichEditFooter), first);
    const QString written = writeRtf(first);
    EXPECT_TRUE(written.startsWith(QLatin1String("{\\rtf1\\ansi\\ansicpg1250")));
    EXPECT_TRUE(written.contains(QLatin1String("\\'e1rv\\'edzt\\'fbr\\'f5")));
    QTextDocument second;
    readRtf(written, second);
    EXPECT_EQ(describe(second), describe(first));
    EXPECT_EQ(writeRtf(second), written);
}

TEST(RtfTest, UnicodeEscapesDropTheirReplacementCharacters) {
    EXPECT_EQ(described(QStringLiteral("{\\rtf1\\uc1 t\\u369?r\\u337\\'f5 \\uc0\\u8364 x}")),
              QStringLiteral("left: tűrő €x[ 12  ]"));
    EXPECT_EQ(described(QStringLiteral("{\\rtf1\\uc2 a\\u26085??b}")), QStringLiteral("left: a日b[ 12  ]"));
}

TEST(RtfTest, CodePageFollowsTheFontCharacterSet) {
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}{\\f1\\fcharset0 Times;}}"
        "\\f0 \\'f5\\f1 \\'f5}");
    EXPECT_EQ(described(rtf), QStringLiteral("left: ő[Arial 12  ] õ[Times 12  ]"));
}

TEST(RtfTest, GroupsRestoreFormattingAndSkippedDestinationsShowNothing) {
    const QString rtf = QStringLiteral(
        "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title x}}{\\*\\unknown y}"
        "{\\b vastag} {\\i\\ul d\\plain n}\\tab t\\line s \\{\\}\\\\}");
    EXPECT_EQ(described(rtf), QStringLiteral("left: vastag[ 12 b ]  [ 12  ] d[ 12 iu ] n\tt\u2028s {}\\[ 12  ]"));
}

TEST(RtfTest, EmptyParagraphsAreKept) {
    QTextDocument document;
    readRtf(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard a\\par\\fs32\\par b\\par}"), document);
    EXPECT_EQ(document.blockCount(), 3);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("a\n\nb"));
    EXPECT_EQ(document.findBlockByNumber(1).charFormat().fontPointSize(), 16);
    QTextDocument again;
    readRtf(writeRtf(document), again);
    EXPECT_EQ(describe(again), describe(document));
    EXPECT_EQ(again.findBlockByNumber(1).charFormat().fontPointSize(), 16);
}

TEST(RtfTest, PlainTextMemosStayPlainText) {
    QTextDocument document;
    readFooterText(QStringLiteral("A fenti feltételeket elfogadom !\n{nem rtf}"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("A fenti feltételeket elfogadom !\n{nem rtf}"));
    EXPECT_FALSE(isRtf(QStringLiteral("{nem rtf}")));
    EXPECT_TRUE(isRtf(QStringLiteral("  {\\rtf1 x}")));
}

TEST(RtfTest, WriterEscapesWhatRtfReserves) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("{a\\b} 日€\u00a0x"));
    const QString rtf = writeRtf(document);
    EXPECT_TRUE(rtf.contains(QLatin1String("\\{a\\\\b\\} \\u26085?\\'80\\~x"))) << rtf.toStdString();
    QTextDocument back;
    readRtf(rtf, back);
    EXPECT_EQ(back.toPlainText(), document.toPlainText());
}

TEST(RtfTest, EmptyDocumentWritesNoParagraph) {
    QTextDocument document;
    const QString rtf = writeRtf(document);
    EXPECT_FALSE(rtf.contains(QLatin1String("\\par")));
    QTextDocument back;
    readRtf(rtf, back);
    EXPECT_TRUE(back.isEmpty());
}

TEST(RtfTest, DamagedRtfGivesWhatCouldBeRead) {
    QTextDocument document;
    readRtf(QStringLiteral("{\\rtf1{\\b eleje\\'4"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("eleje"));
    readRtf(QStringLiteral("{\\rtf1 a}}}} b\\"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("a b"));
}

}  // namespace
}  // namespace kavina
