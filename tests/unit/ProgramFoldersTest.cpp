// Where the programs find their data: demo/ beside them (a build folder), else
// share/quillory of the prefix they were installed into.
#include "settings/ProgramFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(ProgramFolders, DataBesideTheProgramWinsOverTheInstalledData) {
    struct Case {
        const char* what;
        QStringList folders; // made under the temporary root
        const char* expected;
        bool installed;
    };
    const Case cases[] = {
        {"build folder", {"bin/demo"}, "bin/demo", false},
        {"installed", {"share/quillory"}, "share/quillory", true},
        {"both: the build's data", {"bin/demo", "share/quillory"}, "bin/demo", false},
        // Messages about missing data name the folder a build would have.
        {"neither", {}, "bin/demo", false},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        const QDir dir(root.path());
        ASSERT_TRUE(dir.mkpath(QStringLiteral("bin")));
        for (const QString& folder : c.folders) {
            ASSERT_TRUE(dir.mkpath(folder));
        }
        const QString program = dir.filePath(QStringLiteral("bin"));
        EXPECT_EQ(DataFolderFor(program), dir.filePath(QString::fromLatin1(c.expected))) << c.what;
        EXPECT_EQ(IsInstalledProgram(program), c.installed) << c.what;
    }
}

} // namespace
} // namespace quillory
