#pragma once
// Copying and removing folder trees of the HTML lesson library.
#include <QString>

namespace quillory {

// Copies every file and subfolder of source into destination (created when
// missing), replacing files of the same name. Symbolic links are neither
// followed nor copied, nor are other special files, so a copy never reaches
// outside the source. A destination that is the source or lies inside it is
// refused. Stops at the first failure and returns false; files copied so far
// stay.
bool CopyFolderTree(const QString& source, const QString& destination);

// True when path is folder or lies inside it. Both are compared as absolute
// clean paths and, where they exist, with their links resolved.
bool IsSameOrInside(const QString& path, const QString& folder);

} // namespace quillory
