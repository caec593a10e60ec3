#include "foundation/forms/InputGuards.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>
#include <QValidator>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/StorableText.h"

namespace kavina {
namespace {

const QString kCaption = QStringLiteral("Figyelem!");

// The warning is shown after the keystroke has been refused, outside the box's own event
// handling; one warning however often the box asks again about the same refused text.
class DeferredWarning : public QObject {
public:
    DeferredWarning(Prompt& prompt, QObject* parent) : QObject(parent), m_prompt(prompt) {}

    void show(const QString& text) {
        if (m_pending) return;
        m_pending = true;
        QTimer::singleShot(0, this, [this, text] {
            m_prompt.warning(kCaption, text);
            m_pending = false;
        });
    }

private:
    Prompt& m_prompt;
    bool m_pending = false;
};

class StorableTextValidator : public QValidator {
public:
    StorableTextValidator(Prompt& prompt, QObject* parent)
        : QValidator(parent), m_warning(new DeferredWarning(prompt, this)) {}

    State validate(QString& input, int&) const override {
        const std::optional<QString> message = unstorableTextMessage(input);
        if (!message) return Acceptable;
        m_warning->show(*message);
        return Invalid;
    }

private:
    DeferredWarning* m_warning;
};

// The box's text once the typed text replaced its selection or went in at the cursor.
QString textAfterTyping(const QLineEdit& edit, const QString& typed) {
    QString text = edit.text();
    if (edit.hasSelectedText()) {
        const int start = edit.selectionStart();
        return text.replace(start, edit.selectedText().size(), typed);
    }
    return text.insert(edit.cursorPosition(), typed);
}

class RangeFilter : public QObject {
public:
    RangeFilter(QAbstractSpinBox* box, Prompt& prompt)
        : QObject(box), m_box(box), m_warning(new DeferredWarning(prompt, this)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        QString typed = key->text();
        if (key->matches(QKeySequence::Paste)) typed = QApplication::clipboard()->text();
        if (typed.isEmpty() || !typed.at(0).isPrint()) return false;
        return refuses(typed);
    }

private:
    bool refuses(const QString& typed) {
        QLineEdit* edit = m_box->findChild<QLineEdit*>();
        if (!edit) return false;
        QString text = textAfterTyping(*edit, typed);
        if (auto* spin = qobject_cast<QSpinBox*>(m_box.data())) {
            text = stripped(text, spin->prefix(), spin->suffix());
            return check(text, spin->minimum(), spin->maximum(), QString::number(spin->maximum()),
                         QString::number(spin->minimum()));
        }
        if (auto* spin = qobject_cast<QDoubleSpinBox*>(m_box.data())) {
            text = stripped(text, spin->prefix(), spin->suffix());
            const QLocale locale = spin->locale();
            return check(text, spin->minimum(), spin->maximum(), locale.toString(spin->maximum(), 'g', 15),
                         locale.toString(spin->minimum(), 'g', 15));
        }
        return false;
    }

    static QString stripped(QString text, const QString& prefix, const QString& suffix) {
        if (!prefix.isEmpty() && text.startsWith(prefix)) text.remove(0, prefix.size());
        if (!suffix.isEmpty() && text.endsWith(suffix)) text.chop(suffix.size());
        return text.trimmed();
    }

    bool check(const QString& text, double minimum, double maximum, const QString& maxText, const QString& minText) {
        const std::optional<double> value = number(text);
        if (!value) return false;
        if (*value > maximum) {
            m_warning->show(outOfRangeMessage(text, maxText, true));
            return true;
        }
        // A positive minimum is reached by typing more digits; only a negative one is final.
        if (minimum < 0 && *value < minimum) {
            m_warning->show(outOfRangeMessage(text, minText, false));
            return true;
        }
        return false;
    }

    std::optional<double> number(QString text) const {
        const QLocale locale = m_box->locale();
        text.remove(locale.groupSeparator());
        text.remove(QLatin1Char(' '));
        bool ok = false;
        double value = locale.toDouble(text, &ok);
        if (!ok) value = QLocale::c().toDouble(text, &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    QPointer<QAbstractSpinBox> m_box;
    DeferredWarning* m_warning;
};

}  // namespace

QString outOfRangeMessage(const QString& typed, const QString& limit, bool aboveMaximum) {
    return aboveMaximum ? QStringLiteral("A beírt érték (%1) túl nagy: legfeljebb %2 lehet!").arg(typed, limit)
                        : QStringLiteral("A beírt érték (%1) túl kicsi: legalább %2 lehet!").arg(typed, limit);
}

void refuseUnstorableText(QLineEdit* box, Prompt& prompt) {
    if (box->validator()) return;
    box->setValidator(new StorableTextValidator(prompt, box));
}

void refuseOutOfRange(QAbstractSpinBox* box, Prompt& prompt) {
    box->installEventFilter(new RangeFilter(box, prompt));
}

void guardInputBoxes(QWidget* root, Prompt& prompt) {
    QList<QAbstractSpinBox*> spins = root->findChildren<QAbstractSpinBox*>();
    if (auto* self = qobject_cast<QAbstractSpinBox*>(root)) spins << self;
    for (QAbstractSpinBox* spin : spins) refuseOutOfRange(spin, prompt);
    QList<QLineEdit*> edits = root->findChildren<QLineEdit*>();
    if (auto* self = qobject_cast<QLineEdit*>(root)) edits << self;
    for (QLineEdit* edit : edits)
        if (!qobject_cast<QAbstractSpinBox*>(edit->parentWidget())) refuseUnstorableText(edit, prompt);
}

}  // namespace kavina
