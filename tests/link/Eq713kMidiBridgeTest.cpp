#include "link/Eq713kMidiBridge.h"
#include "core/ProductTable.h"

#include "core/Eq713kPluginInstance.h"
#include "support/ConnectedUnit.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

using Bridge = Eq713kMidiBridge;

constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
constexpr auto inf = std::numeric_limits<float>::infinity();

const char* nameOf (int converter)
{
    static const char* const names[] { "ENGAGE", "gain", "HI BANDWIDTH", "HI KCS BOOST", "LO CPS", "HI KCS ATTEN" };
    return converter >= 0 && converter < 6 ? names[converter] : "unknown";
}

TEST (Eq713kMidiBridgeTest, NormalisedValuesGoOutRoundedHalvesToEvenInSinglePrecision)
{
    const struct { int converter; float v; int sent; } cases[] {
        { ProductTable::engageConverter, 0.0f, 0 },
        { ProductTable::engageConverter, 0.5f, 0 },
        { ProductTable::engageConverter, std::nextafter (0.5f, 1.0f), 64 },
        { ProductTable::engageConverter, 1.0f, 64 },
        { ProductTable::engageConverter, nan, 0 },

        { ProductTable::gainConverter, 0.0f, 0 },
        { ProductTable::gainConverter, 0.5f, 125 },
        { ProductTable::gainConverter, 1.0f, 250 },
        { ProductTable::gainConverter, 0.25f, 62 },  // 62.5: halves go to even
        { ProductTable::gainConverter, 0.75f, 188 }, // 187.5
        { ProductTable::gainConverter, 0.006f, 2 },  // 1.5
        { ProductTable::gainConverter, 0.002f, 0 },  // exactly 0.5 in single precision, not in double
        { ProductTable::gainConverter, 0.03f, 8 },   // exactly 7.5 in single precision, below it in double
        { ProductTable::gainConverter, 1.1f, 250 },  // never wrapped into another value
        { ProductTable::gainConverter, -0.2f, 0 },
        { ProductTable::gainConverter, inf, 250 },
        { ProductTable::gainConverter, nan, 0 },

        { ProductTable::hiBandwidthConverter, 0.0f, 0 },
        { ProductTable::hiBandwidthConverter, 1.0f / 3.0f, 85 },
        { ProductTable::hiBandwidthConverter, 2.0f / 3.0f, 172 },
        { ProductTable::hiBandwidthConverter, 1.0f, 255 },
        { ProductTable::hiBandwidthConverter, 1.0f / 6.0f, 0 },   // 0.5
        { ProductTable::hiBandwidthConverter, 0.5f, 172 },        // 1.5
        { ProductTable::hiBandwidthConverter, 5.0f / 6.0f, 172 }, // 2.5
        { ProductTable::hiBandwidthConverter, 1.5f, 255 },
        { ProductTable::hiBandwidthConverter, -1.0f, 0 },

        { ProductTable::hiKcsBoostConverter, 0.0f, 64 },
        { ProductTable::hiKcsBoostConverter, 1.0f / 6.0f, 32 },
        { ProductTable::hiKcsBoostConverter, 1.0f / 3.0f, 16 },
        { ProductTable::hiKcsBoostConverter, 0.5f, 8 },
        { ProductTable::hiKcsBoostConverter, 2.0f / 3.0f, 4 },
        { ProductTable::hiKcsBoostConverter, 5.0f / 6.0f, 2 },
        { ProductTable::hiKcsBoostConverter, 1.0f, 1 },
        { ProductTable::hiKcsBoostConverter, 1.0f / 12.0f, 64 }, // 0.5
        { ProductTable::hiKcsBoostConverter, 0.25f, 16 },        // 1.5
        { ProductTable::hiKcsBoostConverter, 5.0f / 12.0f, 16 }, // 2.5
        { ProductTable::hiKcsBoostConverter, 0.75f, 4 },         // 4.5
        { ProductTable::hiKcsBoostConverter, -0.5f, 64 },

        { ProductTable::loCpsConverter, 0.0f, 8 },
        { ProductTable::loCpsConverter, 1.0f / 3.0f, 4 },
        { ProductTable::loCpsConverter, 2.0f / 3.0f, 2 },
        { ProductTable::loCpsConverter, 1.0f, 1 },
        { ProductTable::loCpsConverter, 1.0f / 6.0f, 8 }, // 0.5
        { ProductTable::loCpsConverter, 0.5f, 2 },        // 1.5
        { ProductTable::loCpsConverter, 5.0f / 6.0f, 2 }, // 2.5
        { ProductTable::loCpsConverter, -0.5f, 8 },

        { ProductTable::hiKcsAttenConverter, 0.0f, 64 },
        { ProductTable::hiKcsAttenConverter, 0.5f, 32 },
        { ProductTable::hiKcsAttenConverter, 1.0f, 16 },
        { ProductTable::hiKcsAttenConverter, 0.25f, 64 }, // 0.5
        { ProductTable::hiKcsAttenConverter, 0.75f, 16 }, // 1.5
        { ProductTable::hiKcsAttenConverter, -1.0f, 64 },

        { 99, 1.0f, 0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Bridge::getLambdaMidiFloatToInt (c.converter) (c.v), c.sent) << nameOf (c.converter) << " at " << c.v;
}

TEST (Eq713kMidiBridgeTest, ReportedValuesComeInAsNormalisedValues)
{
    const struct { int converter; int reported; float v; } cases[] {
        { ProductTable::engageConverter, 0, 0.0f },
        { ProductTable::engageConverter, 63, 0.0f },
        { ProductTable::engageConverter, 64, 1.0f },
        { ProductTable::engageConverter, 65, 1.0f },
        { ProductTable::engageConverter, 128, 0.0f },

        { ProductTable::gainConverter, 0, 0.0f },
        { ProductTable::gainConverter, 1, 1.0f / 250.0f },
        { ProductTable::gainConverter, 125, 0.5f },
        { ProductTable::gainConverter, 250, 1.0f },
        { ProductTable::gainConverter, 251, 1.0f }, // the wire carries more than the control's range
        { ProductTable::gainConverter, 255, 1.0f },
        { ProductTable::gainConverter, 16383, 1.0f },

        { ProductTable::hiBandwidthConverter, 0, 0.0f },
        { ProductTable::hiBandwidthConverter, 85, 1.0f / 3.0f },
        { ProductTable::hiBandwidthConverter, 172, 2.0f / 3.0f },
        { ProductTable::hiBandwidthConverter, 255, 1.0f },
        { ProductTable::hiBandwidthConverter, 84, 1.0f },
        { ProductTable::hiBandwidthConverter, 200, 1.0f },

        { ProductTable::hiKcsBoostConverter, 64, 0.0f },
        { ProductTable::hiKcsBoostConverter, 32, 1.0f / 6.0f },
        { ProductTable::hiKcsBoostConverter, 16, 1.0f / 3.0f },
        { ProductTable::hiKcsBoostConverter, 8, 0.5f },
        { ProductTable::hiKcsBoostConverter, 4, 2.0f / 3.0f },
        { ProductTable::hiKcsBoostConverter, 2, 5.0f / 6.0f },
        { ProductTable::hiKcsBoostConverter, 1, 1.0f },
        { ProductTable::hiKcsBoostConverter, 0, 1.0f },
        { ProductTable::hiKcsBoostConverter, 64 | 32, 0.0f }, // the highest bit wins
        { ProductTable::hiKcsBoostConverter, 128, 1.0f },

        { ProductTable::loCpsConverter, 8, 0.0f },
        { ProductTable::loCpsConverter, 4, 1.0f / 3.0f },
        { ProductTable::loCpsConverter, 2, 2.0f / 3.0f },
        { ProductTable::loCpsConverter, 1, 1.0f },
        { ProductTable::loCpsConverter, 0, 1.0f },
        { ProductTable::loCpsConverter, 8 | 32, 0.0f },

        { ProductTable::hiKcsAttenConverter, 64, 0.0f },
        { ProductTable::hiKcsAttenConverter, 32, 0.5f },
        { ProductTable::hiKcsAttenConverter, 16, 1.0f },
        { ProductTable::hiKcsAttenConverter, 0, 0.0f },
        { ProductTable::hiKcsAttenConverter, 16 | 32, 1.0f },
        { ProductTable::hiKcsAttenConverter, 8 | 32, 0.5f },

        { 99, 250, 0.0f },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Bridge::getLambdaMidiIntToFloat (c.converter) (c.reported), c.v) << nameOf (c.converter) << " for " << c.reported;
}

TEST (Eq713kMidiBridgeTest, EveryPositionAndEveryGainStepTravelsThereAndBack)
{
    const struct { int converter; int positions; } switches[] {
        { ProductTable::engageConverter, 2 },
        { ProductTable::hiBandwidthConverter, 4 },
        { ProductTable::hiKcsBoostConverter, 7 },
        { ProductTable::loCpsConverter, 4 },
        { ProductTable::hiKcsAttenConverter, 3 },
    };

    for (const auto& s : switches)
    {
        const auto toInt = Bridge::getLambdaMidiFloatToInt (s.converter);
        const auto toFloat = Bridge::getLambdaMidiIntToFloat (s.converter);

        for (int k = 0; k < s.positions; ++k)
        {
            const auto v = (float) k / (float) (s.positions - 1);
            EXPECT_EQ (toFloat (toInt (v)), v) << nameOf (s.converter) << " position " << k;
        }
    }

    const auto gainToInt = Bridge::getLambdaMidiFloatToInt (ProductTable::gainConverter);
    const auto gainToFloat = Bridge::getLambdaMidiIntToFloat (ProductTable::gainConverter);

    for (int n = 0; n <= 250; ++n)
        EXPECT_EQ (gainToInt (gainToFloat (n)), n);
}

TEST (Eq713kMidiBridgeTest, LoCpsAndHiKcsAttenShareOneByteWithoutDisturbingEachOther)
{
    const auto loCpsToInt = Bridge::getLambdaMidiFloatToInt (ProductTable::loCpsConverter);
    const auto loCpsToFloat = Bridge::getLambdaMidiIntToFloat (ProductTable::loCpsConverter);
    const auto attenToInt = Bridge::getLambdaMidiFloatToInt (ProductTable::hiKcsAttenConverter);
    const auto attenToFloat = Bridge::getLambdaMidiIntToFloat (ProductTable::hiKcsAttenConverter);

    for (int lo = 0; lo < 4; ++lo)
    {
        for (int atten = 0; atten < 3; ++atten)
        {
            const auto loV = (float) lo / 3.0f;
            const auto attenV = (float) atten / 2.0f;
            const auto byte = loCpsToInt (loV) | attenToInt (attenV);

            EXPECT_EQ (loCpsToInt (loV) & attenToInt (attenV), 0);
            EXPECT_EQ (loCpsToFloat (byte), loV) << "LO CPS " << lo << ", HI KCS ATTEN " << atten;
            EXPECT_EQ (attenToFloat (byte), attenV) << "LO CPS " << lo << ", HI KCS ATTEN " << atten;
        }
    }

    EXPECT_EQ (loCpsToInt (1.0f / 3.0f) | attenToInt (1.0f), 20);
}

} // namespace

#if ! JUCE_MAC

namespace
{

/** A bridge given a unit directly, with the unit's reports routed to it. */
class Eq713kMidiBridgeOnAUnitTest : public testing_support::MidiWorldTest
{
protected:
    Eq713kMidiBridgeOnAUnitTest()
    {
        rig.routeReportsTo ([this] (int number, int value) { bridge.paramReceived (number, value); });
    }

    ~Eq713kMidiBridgeOnAUnitTest() override { rig.release(); }

    /** The bridge's end of the instance: its connection-lost operation. */
    struct InstanceEnd : Eq713kMidiBridge::Instance
    {
        explicit InstanceEnd (Eq713kPluginInstance& i) : instance (i) {}
        void connectionLost() override { instance.connectionLost(); }
        Eq713kPluginInstance& instance;
    };

    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    testing_support::ConnectedUnit rig;
    InstanceEnd instanceEnd { instance };
    Eq713kMidiBridge bridge { instanceEnd, params };
};

TEST_F (Eq713kMidiBridgeOnAUnitTest, ItsFirstMessageIsTheChannelSelectionAndNoDeviceDeletesItsObjects)
{
    bridge.setConnectedMidiDevice (rig.device.get());
    ASSERT_TRUE (bridge.hasHardwareObjects());
    ASSERT_TRUE (testing_support::pumpUntil ([this] { return rig.unit.receivedCount() > 0; }));
    EXPECT_EQ (rig.unit.receivedBytes().front(), testing_support::ConnectedUnit::valueMessage (14, 4, false));

    bridge.setConnectedMidiDevice (nullptr);
    EXPECT_FALSE (bridge.hasHardwareObjects());
    EXPECT_EQ (bridge.getDevice(), nullptr);

    rig.unit.clearReceived();
    params.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.5f);
    testing_support::pumpFor (50);
    EXPECT_TRUE (rig.sent().empty()) << "objects left behind still send";
}

TEST_F (Eq713kMidiBridgeOnAUnitTest, LosingTheUnitTellsTheInstanceAndDropsTheObjects)
{
    params.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
    bridge.setConnectedMidiDevice (rig.device.get());

    bridge.hidConnectionCallback (true);
    EXPECT_TRUE (bridge.hasHardwareObjects());

    bridge.hidConnectionCallback (false);
    EXPECT_FALSE (bridge.hasHardwareObjects());
    EXPECT_TRUE (testing_support::pumpUntil ([this]
    {
        return params.getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (false);
    }));
}

TEST_F (Eq713kMidiBridgeOnAUnitTest, ReportsArrivingWhileTheObjectsAreReplacedNeverReachDeletedOnes)
{
    std::atomic<bool> reporting { true };
    std::thread knobs ([this, &reporting]
    {
        // A dense stream, a few lists ahead of the delivery thread at most.
        for (int i = 0; reporting.load(); ++i)
        {
            rig.unit.sendValues ({ { 4, i % 250 }, { 13, 8 + 32 }, { 14, 4 }, { 16, 85 }, { 15, 64 } });

            if (i % 4 == 3)
                VirtualMidiWorld::waitUntilIdle();
        }
    });

    for (int round = 0; round < 40; ++round)
    {
        bridge.setConnectedMidiDevice (rig.device.get());
        testing_support::pumpFor (2);
        bridge.setConnectedMidiDevice (nullptr);
        testing_support::pumpPendingMessages();
    }

    reporting = false;
    knobs.join();
    testing_support::pumpPendingMessages();
    EXPECT_FALSE (bridge.hasHardwareObjects());
}

} // namespace

#endif
