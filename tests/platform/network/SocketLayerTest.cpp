// The socket layer's counted starts: sockets open only while a start is
// outstanding, and a cleanup too many does not unbalance later pairs.
#include "platform/network/SocketLayer.h"
#include "platform/network/TcpSocket.h"

#include <gtest/gtest.h>

TEST(SocketLayerTest, SocketsOpenOnlyWhileAStartIsOutstanding) {
  ASSERT_FALSE(platform::SocketLayerStarted());
  EXPECT_FALSE(platform::TcpSocket().IsOpen());

  platform::StartSocketLayer();
  platform::StartSocketLayer();
  platform::CleanupSocketLayer();
  EXPECT_TRUE(platform::SocketLayerStarted());
  EXPECT_TRUE(platform::TcpSocket().IsOpen());

  platform::CleanupSocketLayer();
  platform::CleanupSocketLayer();  // ignored: no start left to balance
  EXPECT_FALSE(platform::SocketLayerStarted());
  EXPECT_FALSE(platform::TcpSocket().IsOpen());

  platform::StartSocketLayer();
  EXPECT_TRUE(platform::TcpSocket().IsOpen());
  platform::CleanupSocketLayer();
  EXPECT_FALSE(platform::SocketLayerStarted());
}
