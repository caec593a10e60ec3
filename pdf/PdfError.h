#pragma once
// The one error type of the PDF writer: a text naming the file or the picture and the cause.
#include <stdexcept>
#include <string>

namespace pdf {

class PdfError : public std::runtime_error {
public:
    explicit PdfError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace pdf
