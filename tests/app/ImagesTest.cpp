#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppIcon.h"
#include "catalog/CatalogNode.h"
#include "framework/CommandTable.h"
#include "framework/ResourceIcon.h"

namespace {

// On a 2x screen every toolbar and tree image comes from its own 32x32 drawing, not an
// enlarged 16x16 one.
TEST(ImagesTest, ToolbarAndTreeImagesHaveATwiceSizeTwin) {
    std::vector<QString> paths;
    for (const CommandInfo &info : CommandTable())
        if (info.icon)
            paths.push_back(QString::fromLatin1(info.icon));
    for (int kind = 0; kind < CatalogNode::ImageCount; ++kind)
        paths.push_back(QString::fromLatin1(CatalogNode::ImagePath(kind)));
    ASSERT_GT(paths.size(), 40u);
    for (const QString &path : paths) {
        const QIcon icon = ResourceIcon::Load(path);
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0).size(), QSize(16, 16)) << path.toStdString();
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32)) << path.toStdString();
    }
}

TEST(ImagesTest, ApplicationIconIsDrawnAtEverySize) {
    const QIcon icon = AppIcon::Icon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        EXPECT_EQ(QImage(AppIcon::ImagePath(size)).size(), QSize(size, size)) << size;
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size)) << size;
    }
}

} // namespace
