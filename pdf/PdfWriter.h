#pragma once
// A PDF of pictures: every page is one JPEG that fills it, without outlines or viewer
// preferences. A page has its own size in points (the paper's), and its picture keeps its full
// resolution scaled onto it; without a page size the page takes the picture's pixels as points.
//
// The file is written as the pages come: each page's picture goes to disk when it is added
// and only its position is kept, so memory stays flat however many pages there are. Writing
// goes into a temporary file beside the target; finish() renames it over the target, so a
// failure at any point leaves the target as it was and no partial file behind.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pdf {

// A page picture of pixelWidth x pixelHeight pixels drawn over a page of pointWidth x
// pointHeight points.
struct PageImage {
    int pixelWidth = 0;
    int pixelHeight = 0;
    int pointWidth = 0;
    int pointHeight = 0;
};

class PdfWriter {
public:
    // Largest page side a PDF viewer is required to accept, in points.
    static constexpr int kMaxPageSide = 14400;

    // Opens the temporary file beside the target. Throws PdfError when it cannot be created.
    explicit PdfWriter(std::string targetPath);
    // Removes the temporary file unless finish() has renamed it.
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Appends a page of width x height points showing the JPEG (RGB or grey, as its header
    // says) over all of it. Throws PdfError for a side outside 1..kMaxPageSide, bytes that
    // are not a JPEG, or a failed write.
    void addJpegPage(int width, int height, const std::vector<uint8_t>& jpeg);
    // Appends a page of the image's points showing the JPEG of its pixels over all of it.
    // Throws PdfError as above, for either size.
    void addJpegPage(const PageImage& image, const std::vector<uint8_t>& jpeg);
    // Writes the page tree and the cross-reference table, flushes the file to disk and moves
    // it over the target. Throws PdfError on failure (the target is then untouched).
    // Requires: at least one page.
    void finish();

    int pageCount() const { return int(m_pages.size()); }
    const std::string& temporaryPath() const { return m_tempPath; }

private:
    int newObject();
    void write(const std::string& text);
    void writeBytes(const void* data, size_t size);
    void beginObject(int number);
    [[noreturn]] void fail(const std::string& cause) const;

    std::string m_target;
    std::string m_tempPath;
    std::FILE* m_file = nullptr;
    uint64_t m_offset = 0;
    std::vector<uint64_t> m_objectOffsets;  // by object number - 1
    std::vector<int> m_pages;               // page object numbers
    bool m_finished = false;
};

}  // namespace pdf
