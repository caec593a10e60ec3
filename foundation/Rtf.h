#pragma once
// Formatted footer texts: the settings record keeps them as RTF written by a rich-edit
// control, and the settings dialog and every printout that shows a footer go through here.
//
// The reader understands what such a control writes: the font and colour tables, fonts, sizes,
// bold, italic, underline, colours, paragraph alignment, paragraphs and line breaks, "\'xx"
// in the font's code page (Windows-1250 unless the file says otherwise) and "\uN" with its
// replacement characters. Other destinations (style sheet, document information, pictures)
// are skipped. The writer produces the same dialect, so footers stay readable by other
// RTF readers, and what it writes reads back into the same document.
#include <QString>

class QTextDocument;

namespace kavina {

// Whether a memo holds RTF (it starts with "{\rtf", blanks allowed in front).
bool isRtf(const QString& memo);

// Fills the document with the memo: RTF when isRtf(), else the memo as plain text. Never
// throws: damaged RTF gives what could be read of it.
void readFooterText(const QString& memo, QTextDocument& document);

// Reads RTF into the document, replacing its content. Characters above 127 in the text are
// taken as they are (the table engine has already decoded the memo).
void readRtf(const QString& rtf, QTextDocument& document);

// The document as RTF with a Windows-1250 font table; characters outside that code page are
// written as "\uN".
QString writeRtf(const QTextDocument& document);

}  // namespace kavina
