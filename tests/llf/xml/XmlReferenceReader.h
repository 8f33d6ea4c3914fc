#pragma once
// A second reading of XML, kept for tests and the fuzz target only: the
// reader's grammar written out plainly over the lexer, token by token, slow
// and easy to check against the description of the format. The real reader
// must give the same results, trees and log lines.
#include <string>

#include "xml/XmlElement.h"

namespace QmTest {

// Reads text into root (cleared first) as XmlDoc::Parse reads a document:
// the same result, and root left as Parse leaves the document's root.
bool ReadThroughLexer(const std::wstring& text, LLF::XmlElement& root);

}  // namespace QmTest
