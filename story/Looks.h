#pragma once
#include <string>

// The look command's mechanics that its data calls by name (story/Calls.cpp).

// The square's fashion remark: the goods most in fashion now, as one line.
void FashionRemark();
// The developer's picture catalogue: every picture and pose with its caption.
void PictureCatalogue();

namespace story {

// The fashion remark's line, in Big5: one of its four templates by how many of the
// three goods ids (best first, -1 for none) are ranked, naming them.
std::string FashionRemarkLine(int first, int second, int third);

}  // namespace story
