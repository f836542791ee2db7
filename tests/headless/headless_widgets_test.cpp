#include "headless/headless_surface.h"
#include "ports/widget_contract.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vestrak;

INSTANTIATE_TEST_SUITE_P(Headless, WidgetContract,
    testing::Values(NamedSurfaceFactory { "Headless",
        [](double width, double height, double border) {
            return std::make_unique<HeadlessSurface>(width, height, border);
        } }),
    surfaceFactoryName);

TEST(HeadlessPictureBox, LoadsOnlyFilesThatLookLikePictures)
{
    const auto folder
        = std::filesystem::temp_directory_path() / ("vestrak-picture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "P1.bmp", std::ios::binary) << "BM\x36\0\0\0";
    std::ofstream(folder / "P2.jpg", std::ios::binary) << "not a picture";

    HeadlessSurface surface(4800, 3600);
    PictureBox& picture = surface.addPictureBox(u"Picture_Object", { 0, 0, 2415, 3600 }, false);
    const auto path = [&](const char* name) {
        const std::string text = (folder / name).string();
        return std::u16string(text.begin(), text.end());
    };
    EXPECT_TRUE(picture.loadPicture(path("P1.bmp")));
    EXPECT_FALSE(picture.loadPicture(path("P2.jpg")));
    EXPECT_FALSE(picture.loadPicture(path("missing.gif")));
    EXPECT_EQ(picture.picturePath(), path("P1.bmp")) << "a failed load keeps the picture";
    std::filesystem::remove_all(folder);
}
