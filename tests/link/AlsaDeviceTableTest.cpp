#include "link/platform/alsa/AlsaDeviceTable.h"
#include "link/platform/alsa/AlsaStrings.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using hv_alsa::AlsaClientInfo;
using hv_alsa::AlsaDeviceTable;
using hv_alsa::AlsaPortInfo;
using hv_alsa::AlsaStrings;

namespace
{

constexpr unsigned int readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned int duplex = readable | writable | SND_SEQ_PORT_CAP_DUPLEX;

AlsaClientInfo usbUnit (int client = 24)
{
    return { client, "Halvorstine 713K", { { 0, duplex, "Halvorstine 713K MIDI 1" } } };
}

/** Every reference the device hands out. */
std::vector<AlsaDeviceTable::Ref> refsOf (const AlsaDeviceTable::Device& d)
{
    return { d.device, d.entity, d.source, d.destination };
}

TEST (AlsaDeviceTableTest, AUnitPluggedInAgainIsANewDeviceWithNewReferencesThoughItsClientNumberIsTheSame)
{
    AlsaDeviceTable table;
    std::set<AlsaDeviceTable::Ref> seen;

    for (int plug = 0; plug < 3; ++plug)
    {
        EXPECT_TRUE (table.update ({ usbUnit() }));
        ASSERT_EQ (table.size(), 1u);
        const auto device = *table.at (0);

        for (auto ref : refsOf (device))
        {
            EXPECT_NE (ref, 0u);
            EXPECT_TRUE (seen.insert (ref).second) << "plug " << plug << " reuses reference " << ref;
        }

        // While it stays, it keeps its references.
        EXPECT_FALSE (table.update ({ usbUnit() }));
        EXPECT_EQ (refsOf (*table.at (0)), refsOf (device));

        EXPECT_TRUE (table.clientExited (24));
        EXPECT_EQ (table.size(), 0u);
        EXPECT_EQ (table.findDevice (device.device), nullptr);
        EXPECT_EQ (table.findSource (device.source), nullptr);
        EXPECT_EQ (table.findDestination (device.destination), nullptr);
    }

    // Nor does anything else this process numbers share one.
    EXPECT_TRUE (seen.insert (table.newRef()).second);
}

TEST (AlsaDeviceTableTest, AClientMissingFromAListIsGoneAndComesBackAsANewDevice)
{
    AlsaDeviceTable table;
    table.update ({ usbUnit() });
    const auto first = table.at (0)->device;

    EXPECT_TRUE (table.update ({}));
    table.update ({ usbUnit() });
    EXPECT_NE (table.at (0)->device, first);
}

TEST (AlsaDeviceTableTest, NamesAreReadAnewAndKeptByteForByte)
{
    const std::vector<std::string> names { "Client-130", "Halvorstine 713K ", "halvorstine 713k", "Halvorstine 713K\xc2\xb7",
                                           " Halvorstine 713K", "Halvorstine 713K" };
    AlsaDeviceTable table;
    table.update ({ { 130, names.front(), { { 0, duplex, "port" } } } });
    const auto ref = table.at (0)->device;

    for (const auto& name : names)
    {
        table.update ({ { 130, name, { { 0, duplex, "port" } } } });
        ASSERT_EQ (table.size(), 1u);
        EXPECT_EQ (table.at (0)->name, name);
        EXPECT_EQ (table.at (0)->device, ref) << "a rename is no new device";
    }
}

TEST (AlsaDeviceTableTest, AClientWithoutPortsIsListedOnlyOnceItHasOne)
{
    AlsaDeviceTable table;
    EXPECT_FALSE (table.update ({ { 130, "Client-130", {} } }));
    EXPECT_EQ (table.size(), 0u);

    EXPECT_TRUE (table.update ({ { 130, "Halvorstine 713K", { { 0, duplex, "Halvorstine 713K" } } } }));
    ASSERT_EQ (table.size(), 1u);
    EXPECT_NE (table.at (0)->entity, 0u);
}

struct EntityCase
{
    const char* name;
    std::vector<AlsaPortInfo> ports;
    int entityPort; // -1 for none
};

class AlsaDeviceTableEntities : public ::testing::TestWithParam<EntityCase> {};

TEST_P (AlsaDeviceTableEntities, TheEntityIsTheFirstPortCarryingMidiBothWaysWithSubscriptions)
{
    AlsaDeviceTable table;
    table.update ({ { 130, "Halvorstine 713K", GetParam().ports } });
    ASSERT_EQ (table.size(), 1u);
    const auto& device = *table.at (0);

    if (GetParam().entityPort < 0)
    {
        EXPECT_EQ (device.entity, 0u);
        EXPECT_EQ (device.source, 0u);
        EXPECT_EQ (device.destination, 0u);
        return;
    }

    EXPECT_NE (device.entity, 0u);
    EXPECT_EQ (device.entityPort.client, 130);
    EXPECT_EQ (device.entityPort.port, GetParam().entityPort);
    EXPECT_EQ (table.findSource (device.source), &device);
    EXPECT_EQ (table.findDestination (device.destination), &device);
    EXPECT_EQ (table.findEntity (device.entity), &device);
    EXPECT_EQ (table.findSource (device.destination), nullptr) << "a destination is no source";
}

INSTANTIATE_TEST_SUITE_P (
    Ports, AlsaDeviceTableEntities,
    ::testing::Values (
        EntityCase { "Duplex", { { 0, duplex, "a" } }, 0 },
        EntityCase { "ReadAndWriteWithoutDuplexFlag", { { 0, readable | writable, "a" } }, 0 },
        EntityCase { "FirstDuplexAfterOneWayPorts", { { 0, readable, "in" }, { 1, writable, "out" }, { 2, duplex, "both" }, { 3, duplex, "more" } }, 2 },
        EntityCase { "NoSubscribeRights", { { 0, SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE, "a" } }, -1 },
        EntityCase { "NoSubscribeRightsToRead", { { 0, SND_SEQ_PORT_CAP_READ | writable, "a" } }, -1 },
        EntityCase { "NoSubscribeRightsToWrite", { { 0, readable | SND_SEQ_PORT_CAP_WRITE, "a" } }, -1 },
        EntityCase { "NotExported", { { 0, duplex | SND_SEQ_PORT_CAP_NO_EXPORT, "a" } }, -1 },
        EntityCase { "OneWayOnly", { { 0, readable, "in" }, { 1, writable, "out" } }, -1 }),
    [] (const ::testing::TestParamInfo<EntityCase>& testCase) { return std::string (testCase.param.name); });

TEST (AlsaDeviceTableTest, AnEntityWhosePortGoesAndComesBackHasNewReferences)
{
    AlsaDeviceTable table;
    table.update ({ usbUnit() });
    const auto before = *table.at (0);

    table.update ({ { 24, "Halvorstine 713K", { { 1, readable, "in only" } } } });
    EXPECT_EQ (table.at (0)->device, before.device);
    EXPECT_EQ (table.at (0)->entity, 0u);

    table.update ({ usbUnit() });
    EXPECT_EQ (table.at (0)->device, before.device);
    EXPECT_NE (table.at (0)->entity, before.entity);
    EXPECT_NE (table.at (0)->source, before.source);
    EXPECT_EQ (table.findSource (before.source), nullptr);
}

TEST (AlsaDeviceTableTest, KnownDevicesKeepTheirPlaceAndNewOnesFollow)
{
    AlsaDeviceTable table;
    table.update ({ usbUnit (28) });
    const auto first = table.at (0)->device;

    // The sequencer lists clients by number; the one found first stays first.
    table.update ({ usbUnit (20), usbUnit (28) });
    ASSERT_EQ (table.size(), 2u);
    EXPECT_EQ (table.at (0)->device, first);
    EXPECT_EQ (table.at (1)->client, 20);
}

struct TextCase
{
    const char* name;
    std::string text;
    long utf16Length;
    bool ascii;
};

class AlsaStringsCases : public ::testing::TestWithParam<TextCase> {};

TEST_P (AlsaStringsCases, OnlyAsciiNamesAreHandedOutAsAscii)
{
    const auto& c = GetParam();
    EXPECT_EQ (AlsaStrings::utf16Length (c.text), c.utf16Length);

    std::vector<char> buffer (c.text.size() + 1, 'x'); // room for every byte
    EXPECT_EQ (AlsaStrings::copyAscii (c.text, buffer.data(), (long) buffer.size()), c.ascii);

    if (c.ascii)
        EXPECT_EQ (std::string (buffer.data()), c.text);
    else
        EXPECT_EQ (buffer[0], 'x') << "a refused copy leaves the buffer as it was";
}

INSTANTIATE_TEST_SUITE_P (
    Names, AlsaStringsCases,
    ::testing::Values (
        TextCase { "Unit", "Halvorstine 713K", 16, true },
        TextCase { "TrailingBlank", "Halvorstine 713K ", 17, true },
        TextCase { "Empty", "", 0, true },
        TextCase { "TwoByteCharacter", "Halvorstine 713K\xc2\xb7", 17, false },
        TextCase { "ThreeByteCharacter", "Halvorstine \xe2\x80\x93 713K", 18, false },
        TextCase { "OutsideTheBasicPlane", "713K \xf0\x9f\x8e\x9b", 7, false }),
    [] (const ::testing::TestParamInfo<TextCase>& testCase) { return std::string (testCase.param.name); });

TEST (AlsaStringsTest, ACopyNeedsRoomForTheTerminator)
{
    char buffer[16];
    EXPECT_FALSE (AlsaStrings::copyAscii ("Halvorstine 713K", buffer, 16));
    char enough[17];
    EXPECT_TRUE (AlsaStrings::copyAscii ("Halvorstine 713K", enough, 17));
}

} // namespace
