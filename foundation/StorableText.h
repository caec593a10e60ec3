#pragma once
// Text the tables can hold. Every text field is stored in Windows-1250, the code page of the
// data folder; a letter outside it would reach the file as "?" and the clerk's text would be
// lost without a word. Boxes refuse such letters as they are typed (forms/InputGuards.h), and
// the table handle refuses them again on every write, so no path stores them.
#include <QString>
#include <optional>
#include <stdexcept>

namespace kavina {

// The distinct letters of the text that Windows-1250 cannot hold, in the order they first
// occur; empty when the whole text can be stored.
QString unstorableLetters(const QString& text);

// The warning naming those letters and the text, or nothing when the text can be stored.
std::optional<QString> unstorableTextMessage(const QString& text);

// A text refused by a table handle; what() is the Hungarian warning (UTF-8).
class UnstorableTextError : public std::runtime_error {
public:
    explicit UnstorableTextError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Throws UnstorableTextError when the text cannot be stored.
void requireStorableText(const QString& text);

}  // namespace kavina
