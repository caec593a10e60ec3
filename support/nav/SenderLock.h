#pragma once
// Only one workstation reports at a time: the sender holds a byte-range lock on navkuld.lck in
// the data folder while it works. The operating system drops the lock when the holder's program
// ends in any way (even killed, or its machine gone from the share), so another workstation
// takes over at its next attempt without anyone cleaning up.

#include <QString>
#include <memory>

namespace dbase {
class File;
}

namespace kavina::nav {

class SenderLock {
public:
    // Takes the lock when no other workstation holds it; nullptr when one does. Throws
    // RuleError when the lock file cannot be opened.
    static std::unique_ptr<SenderLock> tryTake(const QString& dataFolder);
    ~SenderLock();
    SenderLock(const SenderLock&) = delete;
    SenderLock& operator=(const SenderLock&) = delete;

private:
    explicit SenderLock(std::unique_ptr<dbase::File> file);
    std::unique_ptr<dbase::File> m_file;
};

}  // namespace kavina::nav
