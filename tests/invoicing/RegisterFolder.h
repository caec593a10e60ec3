#pragma once
// A data folder for the document register's tests: the settings record, documents stored as
// a save stores them (a header in Szamla.dbf, its lines in Szamla2.dbf), and the register's
// windows answered from a script. Today is 2008.03.15.

#include <gtest/gtest.h>

#include <QImage>
#include <deque>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/DocumentRegister.h"
#include "report/PreparedReport.h"

namespace kavina::invoicing {

// Every window the logic opens, one line each: "register|0|3" (kind, documents shown),
// "agent|<name>", "preview|<pdf name>", "print|<document name>", "printing done" after a
// command's prints; the pages printed and
// previewed are kept. Prints and agent dialogs take their answers from queues.
class ScriptedDocumentWindows final : public DocumentWindows {
public:
    explicit ScriptedDocumentWindows(TDataModule1& data) : m_data(data) {}

    void answerPrint(bool wentOut) { m_prints.push_back(wentOut); }
    void answerAgent(std::optional<AgentData> data) { m_agents.push_back(std::move(data)); }
    void answerRegister(bool chosen) { m_registers.push_back(chosen); }
    // Whether the next cancellation or payment dialog changes the document.
    void answerDialog(bool changed) { m_dialogs.push_back(changed); }

    const QStringList& opened() const { return m_opened; }
    const QStringList& failures() const { return m_failures; }
    const std::vector<report::PreparedReport>& printed() const { return m_printed; }
    const std::vector<report::PreparedReport>& previewed() const { return m_previewed; }

    bool showRegister(const RegisterRequest& request) override {
        m_opened << QStringLiteral("register|%1|%2").arg(int(request.kind)).arg(m_data.SzamlaTable().recordCount());
        return take(m_registers, "register");
    }
    std::optional<AgentData> editAgent(const AgentData& data) override {
        m_opened << QStringLiteral("agent|%1").arg(data.name.trimmed());
        return take(m_agents, "agent dialog");
    }
    void preview(const report::PreparedReport& pages, const QString& pdfName) override {
        m_opened << QStringLiteral("preview|%1").arg(pdfName);
        m_previewed.push_back(pages);
    }
    bool print(const report::PreparedReport& pages, const QString& documentName) override {
        m_opened << QStringLiteral("print|%1").arg(documentName);
        const bool wentOut = take(m_prints, "print");
        if (wentOut) m_printed.push_back(pages);
        return wentOut;
    }
    void printingDone() override { m_opened << QStringLiteral("printing done"); }
    bool cancelCurrent(bool spoil) override {
        m_opened << QStringLiteral("%1|%2").arg(spoil ? "spoil" : "storno",
                                                m_data.SzamlaTable().asString(fields::Szamla::SZAMLASZAM).trimmed());
        return take(m_dialogs, "cancellation dialog");
    }
    bool payCurrent() override {
        m_opened
            << QStringLiteral("payment|%1").arg(m_data.SzamlaTable().asString(fields::Szamla::SZAMLASZAM).trimmed());
        return take(m_dialogs, "payment dialog");
    }

private:
    template <typename T>
    T take(std::deque<T>& queue, const char* window) {
        if (queue.empty()) {
            m_failures << QStringLiteral("no answer for the %1").arg(QLatin1String(window));
            throw std::logic_error(window);
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }

    TDataModule1& m_data;
    std::deque<bool> m_prints;
    std::deque<std::optional<AgentData>> m_agents;
    std::deque<bool> m_registers;
    std::deque<bool> m_dialogs;
    QStringList m_opened;
    QStringList m_failures;
    std::vector<report::PreparedReport> m_printed;
    std::vector<report::PreparedReport> m_previewed;
};

// What a stored document is made of.
struct StoredDocument {
    QString number;
    QString type = QStringLiteral("B");
    QString issued = QStringLiteral("2008.03.10");
    QString name = QStringLiteral("Példa Kereskedelmi Kft.");
    QString street = QStringLiteral("Fő utca 1.");
    bool paid = false;
    int serial = 1;
    double net = 1000;
    QString state;
};

class RegisterFolder : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    ScriptedDocumentWindows windows{data};

    static QDate today() { return QDate(2008, 3, 15); }

    RegisterOptions options() {
        RegisterOptions o;
        o.today = &RegisterFolder::today;
        o.now = [] { return QDateTime(QDate(2008, 3, 15), QTime(10, 0)); };
        o.currentUser = QStringLiteral("Kovács Anna");
        QImage mark(40, 20, QImage::Format_RGB32);
        mark.fill(Qt::red);
        o.overlays = {mark, mark.mirrored()};
        return o;
    }

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& s = data.UserTable();
        s.append();
        s.setString(fields::User::USER1, QStringLiteral("Bükki Szerszám és Vasáru Bt."));
        s.setString(fields::User::CIM, QStringLiteral("3300 Eger, Széchenyi út 12."));
        s.setInteger(fields::User::PRNSZAMLA, 2);
        s.post();
    }
    void TearDown() override {
        EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
        EXPECT_TRUE(windows.failures().isEmpty()) << windows.failures().join('\n').toStdString();
    }

    // The header and two lines (a product at 27 % and a service at 5 %), as a save stores them.
    void store(const StoredDocument& d) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        const double vat = d.net * 0.27;
        TableHandle& h = data.SzamlaTable();
        h.append();
        h.setString(H::SZAMLASZAM, d.number);
        h.setString(H::SZAMLATIP, d.type);
        h.setString(H::ALLAPOT, d.state);
        h.setString(H::NEV, d.name);
        h.setString(H::IRSZAM, QStringLiteral("1117"));
        h.setString(H::VAROS, QStringLiteral("Budapest"));
        h.setString(H::CIM, d.street);
        h.setString(H::TELJESCIM, QStringLiteral("1117 Budapest, ") + d.street);
        h.setString(H::FIZMOD, d.paid ? QStringLiteral("Készpénz") : QStringLiteral("Átutalás"));
        h.setString(H::KIALLIT, d.issued);
        h.setString(H::TELJESIT, d.issued);
        h.setString(H::FIZHAT, d.issued);
        h.setFloat(H::AFAALAP, d.net);
        h.setFloat(H::AFAFT, vat);
        h.setFloat(H::FIZETENDO, d.net + vat);
        h.setLogical(H::FIZETVE, d.paid);
        if (d.paid) h.setString(H::FIZDATUM, d.issued);
        h.setString(H::UGYINTEZO, QStringLiteral("Kovács Anna"));
        h.setInteger(H::PRINT, d.serial);
        h.post();
        TableHandle& l = data.Szamla2Table();
        const auto line = [&](const QString& name, double net, double rate, bool service) {
            l.append();
            l.setString(L::SZAMLASZAM, d.number);
            l.setString(L::MEGNEVEZES, name);
            l.setFloat(L::MENNYISEG, 1);
            l.setString(L::EGYSEG, service ? QStringLiteral("óra") : QStringLiteral("db"));
            l.setFloat(L::EGYSEGAR, net);
            l.setFloat(L::NETTOAR, net);
            l.setFloat(L::AFA, rate);
            l.setFloat(L::AFAFT, net * rate / 100);
            l.setFloat(L::OSSZESEN, net * (100 + rate) / 100);
            l.setLogical(L::TERMEK, service);
            l.setInteger(L::ARCSOPORT, 4);
            l.post();
        };
        line(QStringLiteral("Fúrógép ütvefúró 750 W"), d.net * 0.8, 27, false);
        line(QStringLiteral("Beüzemelés"), d.net * 0.2, 27, true);
    }

    // Moves the documents to the one of that number; false when there is none.
    bool goTo(const QString& number) { return data.SzamlaTable().locate({{fields::Szamla::SZAMLASZAM, number}}); }
    int64_t serialOf(const QString& number) {
        EXPECT_TRUE(goTo(number)) << number.toStdString();
        return data.SzamlaTable().asInteger(fields::Szamla::PRINT);
    }
    // The numbers the documents handle shows, in its order.
    QStringList shown() {
        QStringList numbers;
        TableHandle& h = data.SzamlaTable();
        const CursorMark at = h.bookmark();
        for (h.first(); !h.eof(); h.next()) numbers << h.asString(fields::Szamla::SZAMLASZAM).trimmed();
        h.gotoBookmark(at);
        return numbers;
    }
    static QString text(const report::PreparedReport& r, const char* band, const char* element, int page = 0) {
        const auto bands = r.bands(page, band);
        return bands.empty() ? QStringLiteral("<no band>") : r.text(r.page(page), *bands.front(), element);
    }
};

}  // namespace kavina::invoicing
