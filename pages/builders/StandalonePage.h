#pragma once
// A page of the window as one self-contained HTML document: the embedded page
// shell with its style sheet, scripts and images inlined and the page body
// appended, so that any browser shows it without the program's resources.
#include <QString>

namespace quillory {

// shellName: "index.html", "tech.html" or "about.html". The body goes after
// the shell's own body content, as the window appends a pending body, and
// the page's name is set through SetWhoAmI. Empty for an unknown shell.
QString MakeStandalonePage(const QString& shellName, const QString& body, const QString& pageName);

} // namespace quillory
