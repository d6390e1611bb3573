#include "app/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Headless unless a platform is chosen explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object, with its event-loop boundary.
    // No translation is installed: the windows speak Spanish whatever LANGUAGE
    // and LANG say, but where a test installs the English one for its span.
    tensim::TApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
