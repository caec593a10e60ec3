#include "pdf/PdfWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "pdf/PdfError.h"

namespace pdf {
namespace {

constexpr int kCatalog = 1;
constexpr int kPageTree = 2;

// Components of a baseline or progressive JPEG, read from its frame header; 0 when the bytes
// are not a JPEG.
int jpegComponents(const std::vector<uint8_t>& jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return 0;
    size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) return 0;
        const uint8_t marker = jpeg[at + 1];
        const size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return at + 9 < jpeg.size() ? jpeg[at + 9] : 0;
        at += 2 + length;
    }
    return 0;
}

// New files get the permissions the process would give them, not mkstemp's owner-only ones.
void applyDefaultPermissions(int fd) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

PdfWriter::PdfWriter(std::string targetPath) : m_target(std::move(targetPath)) {
    std::string pattern = m_target + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw PdfError(m_target + ": cannot create a file beside it: " + std::strerror(errno));
    m_tempPath = pattern;
    applyDefaultPermissions(fd);
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        ::close(fd);
        std::remove(m_tempPath.c_str());
        throw PdfError(m_target + ": cannot write: " + std::strerror(errno));
    }
    m_objectOffsets.resize(kPageTree);
    // The binary comment tells transfer programs the file is not text.
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfWriter::~PdfWriter() {
    if (m_file) std::fclose(m_file);
    if (!m_finished) std::remove(m_tempPath.c_str());
}

void PdfWriter::addJpegPage(int width, int height, const std::vector<uint8_t>& jpeg) {
    addJpegPage(PageImage{width, height, width, height}, jpeg);
}

void PdfWriter::addJpegPage(const PageImage& page, const std::vector<uint8_t>& jpeg) {
    const auto inRange = [](int w, int h) { return w >= 1 && h >= 1 && w <= kMaxPageSide && h <= kMaxPageSide; };
    if (!inRange(page.pixelWidth, page.pixelHeight) || !inRange(page.pointWidth, page.pointHeight))
        fail("a page of " + std::to_string(page.pointWidth) + " x " + std::to_string(page.pointHeight) +
             " points with a picture of " + std::to_string(page.pixelWidth) + " x " + std::to_string(page.pixelHeight) +
             " pixels is out of range");
    const int components = jpegComponents(jpeg);
    if (components != 1 && components != 3) fail("the page picture is not an RGB or grey JPEG");
    const std::string points = std::to_string(page.pointWidth) + " " + std::to_string(page.pointHeight);

    const int image = newObject();
    beginObject(image);
    write("<< /Type /XObject /Subtype /Image /Width " + std::to_string(page.pixelWidth) + " /Height " +
          std::to_string(page.pixelHeight) + " /ColorSpace " + (components == 3 ? "/DeviceRGB" : "/DeviceGray") +
          " /BitsPerComponent 8 /Filter /DCTDecode /Length " + std::to_string(jpeg.size()) + " >>\nstream\n");
    writeBytes(jpeg.data(), jpeg.size());
    write("\nendstream\nendobj\n");

    // The image space is the unit square: the matrix scales it onto the whole page.
    const std::string drawing =
        "q " + std::to_string(page.pointWidth) + " 0 0 " + std::to_string(page.pointHeight) + " 0 0 cm /Im1 Do Q\n";
    const int content = newObject();
    beginObject(content);
    write("<< /Length " + std::to_string(drawing.size()) + " >>\nstream\n" + drawing + "endstream\nendobj\n");

    const int pageObject = newObject();
    beginObject(pageObject);
    write("<< /Type /Page /Parent " + std::to_string(kPageTree) + " 0 R /MediaBox [0 0 " + points +
          "] /Resources << /XObject << /Im1 " + std::to_string(image) + " 0 R >> >> /Contents " +
          std::to_string(content) + " 0 R >>\nendobj\n");
    m_pages.push_back(pageObject);
}

void PdfWriter::finish() {
    if (m_pages.empty()) fail("a PDF needs at least one page");
    std::string kids;
    for (int page : m_pages) kids += std::to_string(page) + " 0 R ";
    m_objectOffsets[kPageTree - 1] = m_offset;
    write(std::to_string(kPageTree) + " 0 obj\n<< /Type /Pages /Count " + std::to_string(m_pages.size()) + " /Kids [" +
          kids + "] >>\nendobj\n");
    m_objectOffsets[kCatalog - 1] = m_offset;
    write(std::to_string(kCatalog) + " 0 obj\n<< /Type /Catalog /Pages " + std::to_string(kPageTree) +
          " 0 R >>\nendobj\n");

    const uint64_t xref = m_offset;
    write("xref\n0 " + std::to_string(m_objectOffsets.size() + 1) + "\n0000000000 65535 f \n");
    for (uint64_t offset : m_objectOffsets) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
        write(entry);
    }
    write("trailer\n<< /Size " + std::to_string(m_objectOffsets.size() + 1) + " /Root " + std::to_string(kCatalog) +
          " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");

    if (std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0)
        fail(std::string("cannot write: ") + std::strerror(errno));
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0) fail(std::string("cannot write: ") + std::strerror(errno));
    std::error_code error;
    std::filesystem::rename(m_tempPath, m_target, error);
    if (error) fail("cannot replace the file: " + error.message());
    m_finished = true;
}

int PdfWriter::newObject() {
    m_objectOffsets.push_back(0);
    return int(m_objectOffsets.size());
}

void PdfWriter::beginObject(int number) {
    m_objectOffsets[size_t(number) - 1] = m_offset;
    write(std::to_string(number) + " 0 obj\n");
}

void PdfWriter::write(const std::string& text) {
    writeBytes(text.data(), text.size());
}

void PdfWriter::writeBytes(const void* data, size_t size) {
    if (!m_file) fail("the file is closed");
    if (std::fwrite(data, 1, size, m_file) != size) fail(std::string("cannot write: ") + std::strerror(errno));
    m_offset += size;
}

void PdfWriter::fail(const std::string& cause) const {
    throw PdfError(m_target + ": " + cause);
}

}  // namespace pdf
