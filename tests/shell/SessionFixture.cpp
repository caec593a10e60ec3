#include "SessionFixture.h"

#include "foundation/NewDataFolder.h"
#include "shell/users/LoginPassword.h"

namespace kavina::shell::testing {

SessionFixture::SessionFixture() {
    setPasswordHashCost(PasswordHashCost::Minimum);
    createDataFolder(dir.path(), {.today = QDate(2024, 5, 17)});
    dm.open(dir.path());
}

SessionFixture::~SessionFixture() {
    dm.close();
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join(QLatin1Char('\n')).toStdString();
}

void appendRow(TableHandle& h, std::initializer_list<std::pair<const char*, QString>> values) {
    h.append();
    for (const auto& [field, value] : values) h.setString(field, value);
    h.post();
}

void SessionFixture::addUser(const QString& name, const QString& password, const QString& role, const QString& rights) {
    appendRow(dm.JogTable(), {{"FELHASZNAL", name}, {"JELSZO", password}, {"JOGOSULT", role}, {"JOGOK", rights}});
}

QStringList column(TableHandle& h, const char* field) {
    QStringList values;
    for (h.first(); !h.eof(); h.next()) values << h.asString(field);
    return values;
}

std::string SessionFixture::fileBytes(const std::string& name) const {
    return dir.read(name);
}

ProgramFixture::ProgramFixture() {
    setPasswordHashCost(PasswordHashCost::Minimum);
}

ProgramFixture::~ProgramFixture() {
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join(QLatin1Char('\n')).toStdString();
}

}  // namespace kavina::shell::testing
