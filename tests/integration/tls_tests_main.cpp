#include "tls_peers.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Before gtest or any test starts a thread: unshare() refuses a multi-threaded process.
    volmara::test::enterPrivateNetwork();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
