#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object before the first one is made; the tests share this one.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
