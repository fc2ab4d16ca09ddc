// Reads the help text source (UTF-8) into a help book.
//
//   Titel: <title of the help file>
//   == Inhalt | <title>            the contents topic (exactly one, the first)
//   == 12, 13 | <title>            a topic for the help contexts 12 and 13
//   plain lines                    joined into one paragraph up to a blank line
//   - text                         a list paragraph
//   - [Name] text                  a list paragraph that starts with a bold name
//   > 12                           a paragraph that jumps to the topic of context 12
//   * text                         a heading inside a topic, in bold
//   # ...                          a remark, skipped
#pragma once

#include <stdexcept>
#include <string>

#include "HelpBook.h"

namespace helpgen {

class TSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

THelpBook ParseHelpSource(const std::string& utf8Text);

// UTF-8 to Windows-1252; throws TSourceError for a character the code page lacks.
std::string ToCodePage1252(const std::string& utf8);

}  // namespace helpgen
