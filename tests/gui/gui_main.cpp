// Runs the GUI tests inside one QApplication, as the editor itself does.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Facetor");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
