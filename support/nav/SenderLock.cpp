#include "support/nav/SenderLock.h"

#include <QDir>

#include "dbase/DbError.h"
#include "dbase/File.h"
#include "foundation/RuleError.h"

namespace kavina::nav {

std::unique_ptr<SenderLock> SenderLock::tryTake(const QString& dataFolder) {
    const std::string path = QDir(dataFolder).filePath(QStringLiteral("navkuld.lck")).toStdString();
    std::unique_ptr<dbase::File> file;
    try {
        file = dbase::FileSystem::real().open(path, dbase::OpenMode::OpenOrCreate);
    } catch (const dbase::DbError& e) {
        throw RuleError(
            QStringLiteral("Az online számla zárolófájlja nem nyitható meg: %1").arg(QString::fromStdString(e.what())));
    }
    if (!file->tryLock(0, 1, dbase::LockKind::Exclusive)) return nullptr;
    return std::unique_ptr<SenderLock>(new SenderLock(std::move(file)));
}

SenderLock::SenderLock(std::unique_ptr<dbase::File> file) : m_file(std::move(file)) {}

SenderLock::~SenderLock() {
    m_file->unlock(0, 1);
}

}  // namespace kavina::nav
