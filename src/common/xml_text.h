// Texts that go into the XML parts of the .docx and .xlsx files. XML 1.0 cannot hold every character a
// user may type or paste (control characters, lone surrogate halves, U+FFFE and U+FFFF): one of them in a
// part makes the whole document unreadable, so every text is cleaned here before a writer escapes it.
#pragma once

#include <string>
#include <string_view>

namespace velaron {

// `utf16` in UTF-8 without what a document's XML must not carry: control characters other than tab, line
// feed and carriage return (C0, DEL and C1), surrogate halves that pair with nothing, and the Unicode
// non-characters (U+FDD0..U+FDEF and the last two code points of every plane). Everything else is kept.
std::string XmlText(std::u16string_view utf16);

}  // namespace velaron
