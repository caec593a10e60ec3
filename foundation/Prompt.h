#pragma once
// The one way logic talks to the user: message boxes, yes/no questions, the text prompt, the
// copies count, and file and folder choice. Logic receives a Prompt and never opens a window
// itself; the program passes the Qt implementation (forms/QtPrompt.h), tests a ScriptedPrompt
// that records every message and answers from a queue.
//
// Captions and texts are passed exactly as the user is to see them; the implementations add
// nothing to them.
#include <QString>
#include <optional>

namespace kavina {

enum class Icon { None, Information, Warning, Error, Question };

struct FileChoice {
    QString caption;
    QString folder;     // folder shown first; empty: the implementation's choice
    QString filter;     // Qt filter text, for example "Képek (*.bmp *.jpg *.png)"
    bool save = false;  // a name to write rather than an existing file to read
    QString fileName;   // name proposed in a save choice
};

struct FolderChoice {
    QString caption;
    QString folder;  // folder shown first
};

class Prompt {
public:
    virtual ~Prompt() = default;

    // A message box with the caption, the text, the icon and one "OK" button.
    virtual void message(const QString& caption, const QString& text, Icon icon) = 0;
    void information(const QString& caption, const QString& text) { message(caption, text, Icon::Information); }
    void warning(const QString& caption, const QString& text) { message(caption, text, Icon::Warning); }
    void error(const QString& caption, const QString& text) { message(caption, text, Icon::Error); }

    // A box with the buttons "Igen" and "Nem"; true for "Igen". Closing the box is "Nem".
    virtual bool askYesNo(const QString& caption, const QString& question, Icon icon = Icon::Question) = 0;
    // The same box with "Nem" as the default button, for a question whose careless "Igen"
    // would be hard to undo. Implementations without a default button ask as askYesNo does.
    virtual bool askYesNoDefaultNo(const QString& caption, const QString& question, Icon icon = Icon::Question) {
        return askYesNo(caption, question, icon);
    }

    // The text prompt: the prompt above one edit box of at most 255 characters, pre-filled
    // with the initial text, and the buttons "Elfogad" and "Mégsem". The edited text, or
    // nothing when cancelled.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) = 0;

    // The copies dialog before printing ("Nyomtatás"): a count of copies, 0 allowed, or
    // nothing when the user leaves without printing.
    virtual std::optional<int> askCopies(int initial) = 0;

    // A file to read (or, with save, to write), or nothing when cancelled.
    virtual std::optional<QString> chooseFile(const FileChoice& choice) = 0;
    // An existing folder, or nothing when cancelled.
    virtual std::optional<QString> chooseFolder(const FolderChoice& choice) = 0;
};

}  // namespace kavina
