#include "SSocketTransport.h"
#include "SString.h"
#include "SocketTestSupport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <thread>
#include <algorithm>

namespace
{
const std::vector<unsigned char> kMagic = Bytes({0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31});

std::vector<unsigned char> PacketHeader(int n)
{
    return Concat(Bytes({n & 0xFF, (n >> 8) & 0xFF}), kMagic);
}

std::vector<unsigned char> MessageHeader(uint32_t total, uint32_t nameLength, int flag)
{
    std::vector<unsigned char> bytes = kMagic;
    for (int i = 0; i < 4; i++)
        bytes.push_back(static_cast<unsigned char>(total >> (8 * i)));
    for (int i = 0; i < 4; i++)
        bytes.push_back(static_cast<unsigned char>(nameLength >> (8 * i)));
    bytes.push_back(static_cast<unsigned char>(flag));
    return bytes;
}

std::vector<unsigned char> TextMessage(const char* name, const char* text)
{
    const uint32_t nameLength = static_cast<uint32_t>(std::strlen(name) + 1);
    const uint32_t dataLength = static_cast<uint32_t>(std::strlen(text) + 1);
    std::vector<unsigned char> bytes = MessageHeader(15 + nameLength + dataLength, nameLength, 1);
    bytes.insert(bytes.end(), name, name + nameLength);
    bytes.insert(bytes.end(), text, text + dataLength);
    return bytes;
}

// Runs ReceiveMessageStep until it reports something other than "more to come"
// or "nothing yet", waiting for data in between (as FD_READ would).
int StepUntilDone(SOCKET s, unsigned char** buffer, int* count, int timeout = 2000)
{
    for (;;)
    {
        if (WaitForData(s, timeout) < 1)
            return 2;
        const int step = ReceiveMessageStep(s, buffer, count);
        if (step == 0 || step == 1)
            return step;
    }
}

class SSocketTransportTest : public ::testing::Test
{
protected:
    SocketSession session;
    LoopbackPair pair;

    void SetUp() override { ASSERT_TRUE(pair.Open()); }
    SOCKET Local() const { return pair.local.Get(); }
    SOCKET Remote() const { return pair.remote.Get(); }
};
} // namespace

// Exact bytes

TEST_F(SSocketTransportTest, EndPacketIsLengthZeroThenMagic)
{
    ASSERT_TRUE(SendPacket(Local(), nullptr, 0));
    EXPECT_EQ(ReceiveRaw(Remote(), 8), Bytes({0x00, 0x00, 0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31}));
}

TEST_F(SSocketTransportTest, RequestWithEmptyTextHasExactBytes)
{
    ASSERT_TRUE(SendFramedMessage(Local(), "100", "", -1));
    EXPECT_EQ(ReceiveRaw(Remote(), 20), Bytes({0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31, 0x14, 0x00, 0x00, 0x00, 0x04,
                                               0x00, 0x00, 0x00, 0x01, 0x31, 0x30, 0x30, 0x00, 0x00}));
}

TEST_F(SSocketTransportTest, HelloCarriesVersionClientValueAndCodeLittleEndian)
{
    unsigned char hello[kSocketHelloSize];
    BuildHello(hello, 0x01000000, 0x352441C2);
    EXPECT_EQ(std::vector<unsigned char>(hello, hello + 10),
              Bytes({0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0xC2, 0x41, 0x24, 0x35}));
}

TEST_F(SSocketTransportTest, BinaryMessageCarriesFlagZeroAndRawData)
{
    const unsigned char data[3] = {0x00, 0xFF, 0x10};
    ASSERT_TRUE(SendFramedMessage(Local(), "x", data, 3));
    EXPECT_EQ(ReceiveRaw(Remote(), 20),
              Concat(MessageHeader(20, 2, 0), Bytes({'x', 0x00, 0x00, 0xFF, 0x10})));
}

TEST_F(SSocketTransportTest, StringPacketCarriesTextAndNul)
{
    ASSERT_TRUE(SendStringPacket(Local(), "1234"));
    EXPECT_EQ(ReceiveRaw(Remote(), 13), Concat(PacketHeader(5), Bytes({'1', '2', '3', '4', 0})));
}

// SendPacket

TEST_F(SSocketTransportTest, SendPacketRefusesWhatDoesNotFitAndSendsNothing)
{
    std::vector<unsigned char> block(10000, 0x5A);
    EXPECT_FALSE(SendPacket(Local(), block.data(), 10000));
    EXPECT_FALSE(SendPacket(Local(), block.data(), 4097));
    ASSERT_TRUE(SendPacket(Local(), block.data(), 4096));
    ASSERT_TRUE(SendPacket(Local(), nullptr, 0));
    std::vector<unsigned char> buffer(kSocketPacketMaxPayload);
    EXPECT_EQ(ReceivePacket(Remote(), buffer.data()), 4096);
    EXPECT_EQ(buffer, std::vector<unsigned char>(4096, 0x5A));
    EXPECT_EQ(ReceivePacket(Remote(), buffer.data()), 0);
}

TEST_F(SSocketTransportTest, SendPacketFinishesWhenReceiverDrainsLate)
{
    // Fill the connection so that sends come back short, then drain it.
    SetSocketNonBlocking(Local());
    std::vector<unsigned char> block(kSocketPacketMaxPayload, 0x11);
    const int packets = 2000; // about 8 MB, far beyond the socket buffers
    std::thread reader([&] {
        Sleep(200);
        std::vector<unsigned char> buffer(kSocketPacketMaxPayload);
        for (int i = 0; i < packets; i++)
            if (ReceivePacket(Remote(), buffer.data()) != kSocketPacketMaxPayload)
                return;
    });
    int sent = 0;
    while (sent < packets && SendPacket(Local(), block.data(), kSocketPacketMaxPayload))
        sent++;
    reader.join();
    EXPECT_EQ(sent, packets);
}

// ReceivePacket

TEST_F(SSocketTransportTest, ReceivePacketJoinsHeaderSplitAcrossSegments)
{
    std::thread writer([&] {
        SendRaw(Remote(), Bytes({0x03}));
        Sleep(100);
        SendRaw(Remote(), Bytes({0x00, 0x4B, 0x4C}));
        Sleep(100);
        SendRaw(Remote(), Bytes({0x56, 0xA9, 0x30, 0x31, 'a'}));
        Sleep(100);
        SendRaw(Remote(), Bytes({'b', 'c'}));
    });
    unsigned char buffer[kSocketPacketMaxPayload];
    bool outOfStep = true;
    EXPECT_EQ(ReceivePacket(Local(), buffer, 2000, &outOfStep), 3);
    writer.join();
    EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);
    EXPECT_FALSE(outOfStep);
}

TEST_F(SSocketTransportTest, ReceivePacketRefusesLengthAboveBuffer)
{
    ASSERT_TRUE(SendRaw(Remote(), Concat(PacketHeader(4097), std::vector<unsigned char>(4097, 1))));
    std::vector<unsigned char> buffer(kSocketPacketMaxPayload + 16, 0xEE);
    bool outOfStep = false;
    EXPECT_EQ(ReceivePacket(Local(), buffer.data(), 500, &outOfStep), -1);
    EXPECT_TRUE(outOfStep);
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(SSocketTransportTest, ReceivePacketRefusesWrongMagic)
{
    ASSERT_TRUE(SendRaw(Remote(), Bytes({0x01, 0x00, 'K', 'L', 'V', 0xA9, '0', '2', 'z'})));
    unsigned char buffer[kSocketPacketMaxPayload];
    bool outOfStep = false;
    EXPECT_EQ(ReceivePacket(Local(), buffer, 500, &outOfStep), -1);
    EXPECT_TRUE(outOfStep);
}

TEST_F(SSocketTransportTest, ReceivePacketThatTimesOutLeavesTheConnectionOutOfStep)
{
    // Nothing was consumed, but the late packet would pass for the next one.
    unsigned char buffer[kSocketPacketMaxPayload];
    bool outOfStep = false;
    EXPECT_EQ(ReceivePacket(Local(), buffer, 100, &outOfStep), -1);
    EXPECT_TRUE(outOfStep);
}

TEST_F(SSocketTransportTest, ReceivePacketFailsWhenPayloadIsCutShort)
{
    ASSERT_TRUE(SendRaw(Remote(), Concat(PacketHeader(100), std::vector<unsigned char>(40, 7))));
    pair.remote.Reset();
    unsigned char buffer[kSocketPacketMaxPayload];
    bool outOfStep = false;
    EXPECT_EQ(ReceivePacket(Local(), buffer, 1000, &outOfStep), -1);
    EXPECT_TRUE(outOfStep);
}

// String packets

TEST_F(SSocketTransportTest, ReceiveStringPacketDropsTheNul)
{
    ASSERT_TRUE(SendStringPacket(Local(), "Ok"));
    SString text;
    EXPECT_EQ(ReceiveStringPacket(text, Remote()), 3);
    EXPECT_STREQ(text.GetText(), "Ok");
    EXPECT_EQ(text.GetLength(), 2);
}

TEST_F(SSocketTransportTest, StringWithoutRoomForItsNulIsRefusedWhole)
{
    EXPECT_FALSE(SendStringPacket(Local(), std::string(4096, 'q').c_str()));
    ASSERT_TRUE(SendStringPacket(Local(), std::string(4095, 'r').c_str()));
    SString text;
    EXPECT_EQ(ReceiveStringPacket(text, Remote()), 4096);
    EXPECT_STREQ(text.GetText(), std::string(4095, 'r').c_str());
}

TEST_F(SSocketTransportTest, EndPacketGivesEmptyString)
{
    ASSERT_TRUE(SendPacket(Local(), nullptr, 0));
    SString text = "before";
    EXPECT_EQ(ReceiveStringPacket(text, Remote()), 0);
    EXPECT_STREQ(text.GetText(), "");
}

// ReceiveMessageStep

TEST_F(SSocketTransportTest, MessageStepAssemblesHeaderSplitWithPauses)
{
    const std::vector<unsigned char> message = TextMessage("100", "c:\\music");
    std::thread writer([&] {
        for (size_t i = 0; i < message.size(); i += 4)
        {
            SendRaw(Remote(), std::vector<unsigned char>(message.begin() + i,
                                                         message.begin() + std::min(i + 4, message.size())));
            Sleep(30);
        }
    });
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(StepUntilDone(Local(), &buffer, &count), 0);
    writer.join();
    ASSERT_EQ(count, static_cast<int>(message.size()));
    EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + count), message);
    FreeMessageBuffer(&buffer, &count);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(SSocketTransportTest, MessageStepReportsNothingToRead)
{
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(ReceiveMessageStep(Local(), &buffer, &count), 2);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(SSocketTransportTest, MessageStepRefusesTotalBelowHeader)
{
    ASSERT_TRUE(SendRaw(Remote(), MessageHeader(14, 1, 1)));
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(StepUntilDone(Local(), &buffer, &count), 1);
    FreeMessageBuffer(&buffer, &count);
}

TEST_F(SSocketTransportTest, MessageStepRefusesTotalAboveCap)
{
    ASSERT_TRUE(SendRaw(Remote(), MessageHeader(0xFFFFFFF0u, 4, 1)));
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(StepUntilDone(Local(), &buffer, &count), 1);
    FreeMessageBuffer(&buffer, &count);
}

TEST_F(SSocketTransportTest, MessageStepAcceptsTotalAtCap)
{
    std::vector<unsigned char> message = MessageHeader(kSocketMessageMaxSize, 2, 0);
    message.push_back('n');
    message.push_back(0);
    message.resize(kSocketMessageMaxSize, 0x33);
    std::thread writer([&] { SendRaw(Remote(), message); });
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(StepUntilDone(Local(), &buffer, &count), 0);
    writer.join();
    EXPECT_EQ(count, kSocketMessageMaxSize);
    FreeMessageBuffer(&buffer, &count);
}

TEST_F(SSocketTransportTest, MessageStepRefusesWrongMagic)
{
    std::vector<unsigned char> message = TextMessage("100", "");
    message[5] = '2';
    ASSERT_TRUE(SendRaw(Remote(), message));
    unsigned char* buffer = nullptr;
    int count = 0;
    EXPECT_EQ(StepUntilDone(Local(), &buffer, &count), 1);
    FreeMessageBuffer(&buffer, &count);
}

TEST_F(SSocketTransportTest, MessageStepLeavesTheNextMessageUnread)
{
    ASSERT_TRUE(SendRaw(Remote(), Concat(TextMessage("a", "1"), TextMessage("b", "2"))));
    unsigned char* buffer = nullptr;
    int count = 0;
    ASSERT_EQ(StepUntilDone(Local(), &buffer, &count), 0);
    EXPECT_EQ(count, 19);
    EXPECT_EQ(buffer[15], 'a');
    FreeMessageBuffer(&buffer, &count);
    ASSERT_EQ(StepUntilDone(Local(), &buffer, &count), 0);
    EXPECT_EQ(buffer[15], 'b');
    FreeMessageBuffer(&buffer, &count);
}

// ParseFramedMessage

TEST(SocketParseTest, TextMessageYieldsNameAndText)
{
    const std::vector<unsigned char> message = TextMessage("106", "c:\\a.mp3|0");
    const char* name = nullptr;
    const void* data = nullptr;
    int nameLength = 0, dataLength = 0;
    bool text = false;
    ASSERT_TRUE(ParseFramedMessage(message.data(), static_cast<int>(message.size()), &name, &nameLength, &data,
                                   &dataLength, &text));
    EXPECT_STREQ(name, "106");
    EXPECT_EQ(nameLength, 4);
    EXPECT_STREQ(static_cast<const char*>(data), "c:\\a.mp3|0");
    EXPECT_EQ(dataLength, 11);
    EXPECT_TRUE(text);
}

TEST(SocketParseTest, BinaryMessageWithoutDataIsRefused)
{
    std::vector<unsigned char> message = Concat(MessageHeader(17, 2, 0), Bytes({'n', 0}));
    const char* name;
    const void* data;
    int nameLength, dataLength;
    bool text;
    EXPECT_FALSE(ParseFramedMessage(message.data(), 17, &name, &nameLength, &data, &dataLength, &text));
}

TEST(SocketParseTest, NameWithoutNulIsRefused)
{
    std::vector<unsigned char> message = Concat(MessageHeader(18, 2, 0), Bytes({'n', 'm', 9}));
    const char* name;
    const void* data;
    int nameLength, dataLength;
    bool text;
    EXPECT_FALSE(ParseFramedMessage(message.data(), 18, &name, &nameLength, &data, &dataLength, &text));
}

TEST(SocketParseTest, TextWithoutNulIsRefused)
{
    std::vector<unsigned char> message = Concat(MessageHeader(19, 2, 1), Bytes({'n', 0, 'a', 'b'}));
    const char* name;
    const void* data;
    int nameLength, dataLength;
    bool text;
    EXPECT_FALSE(ParseFramedMessage(message.data(), 19, &name, &nameLength, &data, &dataLength, &text));
}

TEST(SocketParseTest, TotalDifferentFromReceivedSizeIsRefused)
{
    std::vector<unsigned char> message = TextMessage("a", "b");
    const char* name;
    const void* data;
    int nameLength, dataLength;
    bool text;
    EXPECT_FALSE(ParseFramedMessage(message.data(), static_cast<int>(message.size()) - 1, &name, &nameLength,
                                    &data, &dataLength, &text));
}

TEST(SocketParseTest, NameLengthBeyondMessageIsRefused)
{
    std::vector<unsigned char> message = Concat(MessageHeader(18, 3, 0), Bytes({'n', 0, 5}));
    const char* name;
    const void* data;
    int nameLength, dataLength;
    bool text;
    EXPECT_FALSE(ParseFramedMessage(message.data(), 18, &name, &nameLength, &data, &dataLength, &text));
}

TEST_F(SSocketTransportTest, SendFramedMessageRefusesTotalAboveCap)
{
    std::vector<unsigned char> block(kSocketMessageMaxSize, 1);
    EXPECT_FALSE(SendFramedMessage(Local(), "big", block.data(), kSocketMessageMaxSize));
    EXPECT_EQ(WaitForData(Remote(), 100), 0);
}

// Raw helpers

TEST_F(SSocketTransportTest, WaitForDataTimesOutWithZero)
{
    EXPECT_EQ(WaitForData(Local(), 100), 0);
}

TEST_F(SSocketTransportTest, WaitForDataReturnsReadableCount)
{
    ASSERT_TRUE(SendRaw(Remote(), Bytes({1, 2, 3})));
    EXPECT_EQ(WaitForData(Local(), 2000), 3);
}

TEST_F(SSocketTransportTest, WaitForDataGivesZeroForClosedPeer)
{
    pair.remote.Reset();
    EXPECT_EQ(WaitForData(Local(), 2000), 0);
}

TEST_F(SSocketTransportTest, ReceiveExactReturnsWhatCameBeforeTimeOut)
{
    ASSERT_TRUE(SendRaw(Remote(), Bytes({1})));
    unsigned char buffer[2] = {0, 0};
    EXPECT_EQ(ReceiveExact(Local(), buffer, 2, 200), 1);
    EXPECT_EQ(buffer[0], 1);
}

TEST_F(SSocketTransportTest, ReceiveExactOfNothingIsZero)
{
    unsigned char buffer[1];
    EXPECT_EQ(ReceiveExact(Local(), buffer, 0, 100), 0);
    EXPECT_EQ(SendExact(Local(), buffer, -1, 100), 0);
}

TEST_F(SSocketTransportTest, PeerAddressIsLoopback)
{
    EXPECT_STREQ(GetPeerAddressText(Local()).GetText(), "127.0.0.1");
    SString text;
    EXPECT_FALSE(GetPeerAddress(text, INVALID_SOCKET));
    EXPECT_STREQ(GetPeerAddressText(INVALID_SOCKET).GetText(), "");
}

TEST(SocketKeyTransformTest, DataTravelsUnchanged)
{
    unsigned char data[5] = {0, 1, 2, 250, 255};
    const unsigned char copy[5] = {0, 1, 2, 250, 255};
    KeyTransformOut(data, 5, "key", 3);
    EXPECT_EQ(std::memcmp(data, copy, 5), 0);
    KeyTransformIn(data, 5, "key", 3);
    EXPECT_EQ(std::memcmp(data, copy, 5), 0);
    KeyTransformOut(data, 5, nullptr, 0);
    EXPECT_EQ(std::memcmp(data, copy, 5), 0);
}
