// Link conversion for HTML format: web addresses ("http://" in any letter
// case) and e-mail addresses (words holding "@") become HTML anchors.
#pragma once

#include <string>

namespace varno {

// Returns the text with its web addresses and then its e-mail addresses
// wrapped in anchors; anchors already in the text are passed over. Nothing
// else changes and nothing is escaped. The work is linear in the length of
// the text and of the result.
std::string MakeLinks(std::string text);

}  // namespace varno
