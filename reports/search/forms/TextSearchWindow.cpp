#include "reports/search/forms/TextSearchWindow.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "reports/search/SearchReport.h"
#include "widgets/FormParts.h"
#include "widgets/RecordGrid.h"

namespace kavina::reports {

using widgets::ColumnKind;
using widgets::GridColumn;
namespace T1 = fields::Tmp1;
namespace T2 = fields::Tmp2;

TextSearchResultWindow::TextSearchResultWindow(TextSearchResult& result, const TextSearchRequest& request,
                                               Prompt& prompt, const StatisticsWindowOptions& options, QWidget* parent)
    : QDialog(parent), m_result(result), m_request(request), m_prompt(prompt), m_options(options) {
    setObjectName(QStringLiteral("TStatSzamlaSzovegEredmeny"));
    setWindowTitle(QStringLiteral("Statisztika"));
    resize(1000, 640);
    m_current.copyStructure(m_result.lines());
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("Számlák adott szövegrész szerint"));
    QFont big = header->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    header->setFont(big);
    layout->addWidget(header);
    auto* searched = new QHBoxLayout;
    searched->addWidget(new QLabel(QStringLiteral("Keresett szöveg:")));
    auto* text = new QLabel(request.text);
    text->setObjectName(QStringLiteral("searchedText"));
    searched->addWidget(text, 1);
    layout->addLayout(searched);

    QTableView* hits = widgets::listView(QStringLiteral("hitGrid"));
    m_hitGrid = std::make_unique<widgets::RecordGrid>(
        hits, m_result.hits(),
        std::vector<GridColumn>{{"Számlaszám", T1::SZAMLASZAM},
                                {"Vevő neve", T1::NEV},
                                {"Vevő címe", T1::CIM},
                                {"Sz.kelte", T1::KIALLIT, false, ColumnKind::Day},
                                {"Fizetendő", T1::FIZETENDO, false, ColumnKind::Money},
                                {"Fiz.mód", T1::FIZMOD},
                                {"Fizetve?", T1::FIZETVE},
                                {"üi.", T1::UGYINTEZO}},
        m_prompt);
    fitColumns(hits, 1);
    layout->addWidget(hits, 3);
    QTableView* lines = widgets::listView(QStringLiteral("lineGrid"));
    m_lineGrid = std::make_unique<widgets::RecordGrid>(
        lines, m_current,
        std::vector<GridColumn>{{"VTSZ/SZJ", T2::ITJSZAM},
                                {"Megnevezés", T2::MEGNEVEZES},
                                {"Menny.", T2::MENNYISEG, false, ColumnKind::Number},
                                {"me.", T2::EGYSEG},
                                {"Egységár", T2::EGYSEGAR, false, ColumnKind::Money},
                                {"Megjegyzés", T2::MEGJEGYZES}},
        m_prompt);
    layout->addWidget(lines, 2);
    auto* buttons = new QHBoxLayout;
    m_print = widgets::addPushButton(buttons, QStringLiteral("Nyomtatás"), QStringLiteral("print"));
    buttons->addStretch(1);
    m_quit = widgets::addPushButton(buttons, QStringLiteral("Kilépés"), QStringLiteral("quit"));
    layout->addLayout(buttons);
    connect(m_print, &QPushButton::clicked, this, &TextSearchResultWindow::print);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::accept);

    // The lower list follows the hit the clerk is on, once the move is done.
    m_watch = m_result.hits().watch([this](CursorChange) {
        if (m_refreshDue) return;
        m_refreshDue = true;
        QMetaObject::invokeMethod(
            this, [this] { runCommand(m_prompt, [&] { showLinesOfCurrentHit(); }); }, Qt::QueuedConnection);
    });
    m_result.hits().first();
    showLinesOfCurrentHit();
}

TextSearchResultWindow::~TextSearchResultWindow() {
    dropFocus(this);
    m_result.hits().unwatch(m_watch);
}

void TextSearchResultWindow::showLinesOfCurrentHit() {
    m_refreshDue = false;
    MemTable& hits = m_result.hits();
    MemTable& all = m_result.lines();
    m_current.emptyTable();
    if (!hits.isEmpty() && !hits.isEditing()) {
        const QString number = hits.asString(T1::SZAMLASZAM).trimmed();
        for (all.first(); !all.eof(); all.next()) {
            if (all.asString(T2::SZAMLASZAM).trimmed() != number) continue;
            m_current.append();
            for (int f = 0; f < all.fieldCount(); ++f) m_current.setString(f, all.asString(f));
            m_current.post();
        }
    }
    m_current.first();
    m_lineGrid->reload();
    fitColumns(m_lineGrid->view(), 1);
}

void TextSearchResultWindow::print() {
    m_print->setEnabled(false);
    m_quit->setEnabled(false);
    runCommand(m_prompt, [&] {
        SearchReport report(m_result, m_request, m_options.currentUser);
        const report::PreparedReport pages = report.layout().prepare();
        if (m_options.show)
            m_options.show(pages, this);
        else
            previewStatistics(pages, m_prompt, m_options.printing, this);
    });
    m_print->setEnabled(true);
    m_quit->setEnabled(true);
}

TextSearchWindow::TextSearchWindow(Prompt& prompt, StatisticsWindowOptions options, ShowResult showResult,
                                   QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_options(std::move(options)), m_showResult(std::move(showResult)) {
    setObjectName(QStringLiteral("TStatSzamlaSzoveg"));
    setWindowTitle(QStringLiteral("Statisztika"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Vizsgált időszak:")), 0, 0);
    m_from = widgets::dateBox(QStringLiteral("from"), true);
    m_to = widgets::dateBox(QStringLiteral("to"), true);
    m_from->setDate(m_options.today);
    m_to->setDate(m_options.today);
    auto* period = new QHBoxLayout;
    period->addWidget(m_from);
    period->addWidget(new QLabel(QStringLiteral("-tól")));
    period->addWidget(m_to);
    period->addWidget(new QLabel(QStringLiteral("-ig")));
    period->addStretch(1);
    grid->addLayout(period, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Keresett szöveg:")), 1, 0);
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("text"));
    grid->addWidget(m_text, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Keresés helye:")), 2, 0, Qt::AlignTop);
    auto* places = new QVBoxLayout;
    const auto check = [places](const QString& caption, const char* name) {
        auto* box = new QCheckBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        places->addWidget(box);
        return box;
    };
    m_customer = check(QStringLiteral("Vevő adatai"), "customer");
    m_comment = check(QStringLiteral("Számla megjegyzés"), "comment");
    m_names = check(QStringLiteral("Termék/szolgáltatás név"), "lineNames");
    m_lineComments = check(QStringLiteral("Termék/szolgáltatás megjegyzés"), "lineComments");
    grid->addLayout(places, 2, 1);
    layout->addLayout(grid);
    m_buttons = new QWidget;
    auto* buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* run = widgets::addPushButton(buttons, QStringLiteral("Statisztika"), QStringLiteral("run"));
    buttons->addStretch(1);
    auto* quit = widgets::addPushButton(buttons, QStringLiteral("Kilépés"), QStringLiteral("quit"));
    layout->addWidget(m_buttons);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setVisible(false);
    layout->addWidget(m_progress);
    connect(run, &QPushButton::clicked, this, &TextSearchWindow::runSearch);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    if (!m_showResult)
        m_showResult = [this](TextSearchResult& result, const TextSearchRequest& request, QWidget* owner) {
            TextSearchResultWindow window(result, request, m_prompt, m_options, owner);
            window.exec();
        };
}

TextSearchWindow::~TextSearchWindow() {
    dropFocus(this);
}

TextSearchRequest TextSearchWindow::request() const {
    const auto typed = [](const QDateEdit* box) {
        return box->date() == widgets::kNoDate ? std::nullopt : std::optional<QDate>(box->date());
    };
    return {typed(m_from),
            typed(m_to),
            m_text->text(),
            {m_customer->isChecked(), m_comment->isChecked(), m_names->isChecked(), m_lineComments->isChecked()}};
}

void TextSearchWindow::runSearch() {
    const TextSearchRequest asked = request();
    m_buttons->setVisible(false);
    m_progress->setVisible(true);
    bool searched = false;
    runCommand(m_prompt, [&] {
        searchInvoices(m_options.dataFolder, asked, m_result, progressOn(m_progress));
        searched = true;
    });
    m_progress->setVisible(false);
    m_buttons->setVisible(true);
    if (!searched) return;
    hide();
    runCommand(m_prompt, [&] { m_showResult(m_result, asked, parentWidget()); });
    m_result.clear();
    accept();
}

}  // namespace kavina::reports
