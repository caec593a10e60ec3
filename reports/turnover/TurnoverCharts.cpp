#include "reports/turnover/TurnoverCharts.h"

#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "foundation/SzamSzov.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace {

const QString kAmount = QStringLiteral("Összeg (Ft)");
const QString kNoSaleOnDay = QStringLiteral("Ezen a napon nem volt forgalom.");
const QString kNoSaleInPeriod = QStringLiteral("Az időszakban nem volt forgalom.");
constexpr int kLabelLength = 20;

BarChart chart(QString title, QString categoryTitle, QString valueTitle, QString emptyText) {
    BarChart c;
    c.title = std::move(title);
    c.categoryTitle = std::move(categoryTitle);
    c.valueTitle = std::move(valueTitle);
    c.emptyText = std::move(emptyText);
    return c;
}

// A day's payment classes had sales when one of their bars has a height.
bool anyBar(const BarChart& c) {
    for (const ChartSeries& s : c.series)
        if (std::any_of(s.values.begin(), s.values.end(), [](double v) { return v != 0; })) return true;
    return false;
}

// Fits the value axis to every bar.
void finish(BarChart& c, bool sold) {
    c.sold = sold;
    double low = 0, high = 0;
    for (const ChartSeries& s : c.series)
        for (double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    c.ticks = valueTicks(low, high);
}

// The payment classes of the daily statistics, named short enough to stand under a bar.
QStringList paymentClasses() {
    return {QStringLiteral("Átutalás"), QStringLiteral("Készpénz"), QStringLiteral("Pénztárgép")};
}

// An article's bar: its name, shortened, or its article number when it has no name.
struct ArticleBar {
    QString name;
    QString article;
    double value;
};

// The largest bars first; past kChartArticles the rest share the bar "Egyéb (n cikk)". Two
// articles of one name are told apart by their article numbers, as the axis needs distinct
// labels.
void addArticleBars(BarChart& c, std::vector<ArticleBar> bars, const QString& seriesName) {
    std::stable_sort(bars.begin(), bars.end(),
                     [](const ArticleBar& a, const ArticleBar& b) { return a.value > b.value; });
    const size_t shown = std::min(bars.size(), size_t(kChartArticles));
    QMap<QString, int> uses;
    for (size_t i = 0; i < shown; ++i) ++uses[bars[i].name];
    ChartSeries series{seriesName, {}};
    for (size_t i = 0; i < shown; ++i) {
        const ArticleBar& bar = bars[i];
        c.categories << (uses[bar.name] > 1 ? bar.name + QStringLiteral(" (") + bar.article + QLatin1Char(')')
                                            : bar.name);
        series.values.push_back(bar.value);
    }
    if (bars.size() > shown) {
        double rest = 0;
        for (size_t i = shown; i < bars.size(); ++i) rest += bars[i].value;
        c.categories << QStringLiteral("Egyéb (%1 cikk)").arg(bars.size() - shown);
        series.values.push_back(rest);
    }
    c.series.push_back(std::move(series));
}

ArticleBar articleBar(MemTable& rows, const Field& article, const Field& name, double value) {
    const QString number = rows.asString(article).trimmed();
    QString label = rows.asString(name).trimmed();
    if (label.size() > kLabelLength) label = label.left(kLabelLength - 1).trimmed() + QChar(0x2026);
    if (label.isEmpty()) label = number.isEmpty() ? QStringLiteral("(nincs cikkszám)") : number;
    return {label, number, value};
}

enum class Step { Day, Month, Year };

QDate startOf(const QDate& d, Step step) {
    switch (step) {
        case Step::Day: return d;
        case Step::Month: return QDate(d.year(), d.month(), 1);
        case Step::Year: return QDate(d.year(), 1, 1);
    }
    return d;
}

QDate after(const QDate& d, Step step) {
    switch (step) {
        case Step::Day: return d.addDays(1);
        case Step::Month: return d.addMonths(1);
        case Step::Year: return d.addYears(1);
    }
    return d;
}

// A day is named by its day of the month alone ("14"), so that a month of them fits under the
// bars, except the first day and the first of a month ("03.01."); a name the period already
// used goes in full.
QString stepLabel(const QDate& d, Step step, const QDate& first, const QStringList& used) {
    switch (step) {
        case Step::Day: {
            const QString day = d.toString(QStringLiteral("dd"));
            if (d == first || d.day() == 1 || used.contains(day)) return d.toString(QStringLiteral("MM.dd."));
            return day;
        }
        case Step::Month: return d.toString(QStringLiteral("yyyy.MM."));
        case Step::Year: return d.toString(QStringLiteral("yyyy"));
    }
    return {};
}

}  // namespace

QString forintLabel(double amount) {
    return groupDigits(int64_t(std::llround(amount))) + QStringLiteral(" Ft");
}

std::vector<ValueTick> valueTicks(double low, double high) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    const double raw = (high - low) / 5;
    double step = 1;
    if (raw > 1) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
        for (double factor : {1.0, 2.0, 5.0, 10.0}) {
            step = factor * magnitude;
            if (step >= raw) break;
        }
    }
    const double first = std::floor(low / step) * step;
    double last = std::ceil(high / step) * step;
    if (last <= first) last = first + step;
    std::vector<ValueTick> ticks;
    for (int i = 0; first + i * step <= last + step / 2; ++i) ticks.push_back({first + i * step, {}});
    for (ValueTick& t : ticks) t.label = forintLabel(t.value);
    return ticks;
}

BarChart dailyTurnoverChart(const DailyTurnoverTotals& totals, const QDate& day) {
    BarChart c = chart(QStringLiteral("Forgalom fizetési módonként, ") + dayText(day), QStringLiteral("Fizetési mód"),
                       QStringLiteral("Bruttó összeg (Ft)"), kNoSaleOnDay);
    c.categories = paymentClasses();
    c.series.push_back(
        {QStringLiteral("Bruttó összeg"), {double(totals.transfer), double(totals.cash), double(totals.cashRegister)}});
    finish(c, anyBar(c));
    return c;
}

BarChart dailyArticlesChart(MemTable& articles, const QDate& day) {
    namespace A = dayarticles;
    BarChart c = chart(QStringLiteral("Forgalom cikkenként, ") + dayText(day), QStringLiteral("Cikk"),
                       QStringLiteral("Bruttó ár (Ft)"), kNoSaleOnDay);
    std::vector<ArticleBar> bars;
    forEachRow(articles, [&] {
        bars.push_back(articleBar(articles, A::cikkszam, A::megnevezes, articles.asFloat(A::bruttoar)));
    });
    addArticleBars(c, std::move(bars), QStringLiteral("Bruttó ár"));
    finish(c, !c.categories.isEmpty());
    return c;
}

BarChart dailyProfitChart(const DailyProfit& profit, const QDate& day) {
    BarChart c = chart(QStringLiteral("Forgalom és haszon fizetési módonként, ") + dayText(day),
                       QStringLiteral("Fizetési mód"), kAmount, kNoSaleOnDay);
    c.categories = paymentClasses();
    const std::vector<const ProfitClass*> classes = {&profit.transfer, &profit.cash, &profit.cashRegister};
    ChartSeries gross{QStringLiteral("Bruttó össz."), {}};
    ChartSeries net{QStringLiteral("Nettó haszon"), {}};
    for (const ProfitClass* p : classes) {
        gross.values.push_back(double(p->gross));
        net.values.push_back(p->profit);
    }
    c.series = {gross, net};
    finish(c, anyBar(c));
    return c;
}

BarChart profitPerDayChart(MemTable& rows, const QDate& from, const QDate& to) {
    namespace D = perday;
    struct Day {
        QDate date;
        double gross, profit;
    };
    std::vector<Day> days;
    forEachRow(rows, [&] {
        const QDate d = QDate::fromString(rows.asString(D::datum).trimmed(), QStringLiteral("yyyy.MM.dd"));
        if (d.isValid()) days.push_back({d, rows.asFloat(D::br), rows.asFloat(D::haszon)});
    });
    // A month at most goes day by day, over the whole period; longer periods by month, or by
    // year past three years, over the months that had sales, so that a period chosen as
    // "everything" does not draw a thousand empty months.
    Step step = from.daysTo(to) < 31 ? Step::Day : Step::Month;
    QDate first = from, last = to;
    if (step != Step::Day && !days.empty()) {
        const auto [low, high] =
            std::minmax_element(days.begin(), days.end(), [](const Day& a, const Day& b) { return a.date < b.date; });
        first = low->date;
        last = high->date;
        const int months = (last.year() - first.year()) * 12 + last.month() - first.month() + 1;
        if (months > 36) step = Step::Year;
    }
    static const QStringList stepNames = {QStringLiteral("naponként"), QStringLiteral("havonként"),
                                          QStringLiteral("évenként")};
    static const QStringList stepTitles = {QStringLiteral("Nap"), QStringLiteral("Hónap"), QStringLiteral("Év")};
    BarChart c = chart(QStringLiteral("Forgalom és haszon ") + stepNames[int(step)] + QStringLiteral(", ") +
                           dayText(from) + QLatin1Char('-') + dayText(to),
                       stepTitles[int(step)], kAmount, kNoSaleInPeriod);
    ChartSeries gross{QStringLiteral("Bruttó össz."), {}};
    ChartSeries profit{QStringLiteral("Haszon"), {}};
    QMap<QDate, int> slot;
    if (from <= to && !(step != Step::Day && days.empty()))
        for (QDate d = startOf(first, step); d <= last; d = after(d, step)) {
            slot.insert(d, int(c.categories.size()));
            c.categories << stepLabel(d, step, first, c.categories);
            gross.values.push_back(0);
            profit.values.push_back(0);
        }
    for (const Day& d : days) {
        const auto found = slot.constFind(startOf(d.date, step));
        if (found == slot.constEnd()) continue;
        gross.values[size_t(*found)] += d.gross;
        profit.values[size_t(*found)] += d.profit;
    }
    c.series = {gross, profit};
    finish(c, !days.empty());
    return c;
}

BarChart profitPerProductChart(MemTable& rows, const QDate& from, const QDate& to) {
    namespace P = perproduct;
    BarChart c = chart(QStringLiteral("Haszon termékenként, ") + dayText(from) + QLatin1Char('-') + dayText(to),
                       QStringLiteral("Termék"), QStringLiteral("Haszon (Ft)"), kNoSaleInPeriod);
    std::vector<ArticleBar> bars;
    forEachRow(rows, [&] { bars.push_back(articleBar(rows, P::cikkszam, P::megnevezes, rows.asFloat(P::haszon))); });
    addArticleBars(c, std::move(bars), QStringLiteral("Haszon"));
    finish(c, !c.categories.isEmpty());
    return c;
}

}  // namespace kavina::reports
