#pragma once
// The boundary between code-page-1251 texts of the core and Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace qj::ui {

QString toQt(std::string_view cp1251);
// Characters that code page 1251 cannot hold become '?'.
std::string fromQt(const QString& text);
bool representable(const QString& text);
QString utf8(const std::string& utf8Text);

}  // namespace qj::ui
