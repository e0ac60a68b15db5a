#include "core/Eq713kParamsManager.h"

#include "core/Eq713kPluginInstance.h"
#include "support/ChangeLog.h"
#include "support/CommaDecimalLocale.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <limits>

using testing_support::ChangeLog;

namespace
{

constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
constexpr auto inf = std::numeric_limits<float>::infinity();

class Eq713kParamsManagerTest : public ::testing::Test
{
protected:
    Eq713kParamsManager& manager() { return instance.getProductManager(); }

    /** A listener standing for an editor control, which names itself as the source. */
    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;

    Eq713kPluginInstance instance;
};

TEST_F (Eq713kParamsManagerTest, AFreshManagerHoldsTheDefaultsAndInitialSettings)
{
    const char* const expectedTexts[] = { "LINK", "ON", "0.0", "0.0", "60", "0.0", "0.0", "2", "6", "5",
                                          "ON", "0.0", "0.0", "60", "0.0", "0.0", "2", "6", "5" };
    ASSERT_EQ (manager().getNumParams(), 19);
    for (int id = 0; id < 19; ++id)
    {
        EXPECT_EQ (manager().getCurrentValueAsText (id), expectedTexts[id]) << "id " << id;
        EXPECT_EQ (manager().getParamValue (id), ParamData::paramDefault[id]);
        EXPECT_EQ (manager().getHostParameter (id)->getName (100), ParamData::paramName[id]);
    }
    EXPECT_EQ (manager().getParamValue (ParamData::LO_CPS_1), 2.0f / 3.0f);
    EXPECT_EQ (manager().getParamValue (ParamData::HI_BANDWIDTH_2), 1.0f / 3.0f);

    const juce::var expectedSettings[] = { false, -1, true, 0, false, false, false, false, false, false, false };
    ASSERT_EQ (manager().getNumNonAutomatableParams(), 11);
    for (int id = 0; id < 11; ++id)
    {
        const auto value = manager().getNonAutomatableParamValue (id);
        EXPECT_EQ (value, expectedSettings[id]) << "setting " << id;
        EXPECT_EQ (value.isBool(), expectedSettings[id].isBool()) << "setting " << id;
    }
}

TEST_F (Eq713kParamsManagerTest, ValueTextsAtTheirBoundaries)
{
    const struct { int id; float value; const char* text; } cases[] = {
        { 0, 0.0f, "LINK" }, { 0, 0.4999f, "LINK" }, { 0, 0.5f, "DUAL MONO" }, { 0, nan, "DUAL MONO" },
        { 1, 0.49f, "OFF" }, { 10, 0.5f, "ON" }, { 1, 256.0f, "OFF" }, { 1, nan, "OFF" }, { 1, inf, "OFF" },
        { 2, 0.0f, "0.0" }, { 3, 0.004f, "0.0" }, { 5, 0.012f, "0.1" }, { 6, 0.5f, "5.0" },
        { 11, 1.0f, "10.0" }, { 12, 0.996f, "9.9" }, { 14, 1.1f, "0.7" }, { 15, nan, "0.0" },
        { 2, inf, "0.0" }, { 2, 1.0e30f, "0.0" },
        { 4, 0.0f, "20" }, { 4, 1.0f / 6.0f, "30" }, { 13, 2.0f / 3.0f, "60" }, { 13, 1.0f, "100" },
        { 4, 1.2f, "" }, { 4, -0.5f, "" }, { 4, -0.2f, "20" },
        { 7, 0.0f, "1" }, { 7, 1.0f / 3.0f, "2" }, { 16, 2.0f / 3.0f, "3" }, { 16, 1.0f, "4" }, { 7, 1.5f, "" },
        { 8, 0.0f, "3" }, { 8, 0.5f, "6" }, { 17, 2.0f / 3.0f, "10" }, { 17, 0.75f, "12" }, { 17, 1.0f, "16" }, { 8, 1.1f, "" },
        { 9, 0.0f, "5" }, { 9, 0.24f, "5" }, { 18, 0.5f, "10" }, { 18, 1.0f, "20" }, { 9, 1.3f, "" },
        { 19, 0.5f, "0.50" }, { -1, 0.126f, "0.13" }, { -1, 0.125f, "0.12" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Eq713kParamsManager::getValueToTextFunction (c.id) (c.value), c.text)
            << "id " << c.id << " value " << c.value;
}

TEST_F (Eq713kParamsManagerTest, TextsAndTypedNumbersIgnoreACommaDecimalLocale)
{
    testing_support::CommaDecimalLocale commaLocale;
    ASSERT_TRUE (commaLocale.isActive()) << "no comma-decimal locale on this machine (scripts/setup.sh makes de_DE.UTF-8)";

    EXPECT_EQ (Eq713kParamsManager::getValueToTextFunction (2) (0.5f), "5.0");
    EXPECT_EQ (Eq713kParamsManager::getValueToTextFunction (19) (0.5f), "0.50");
    EXPECT_EQ (manager().getHostParameter (2)->getText (0.5f, 10), "5.0");
    EXPECT_FLOAT_EQ (manager().getHostParameter (2)->getValueForText ("0.25"), 0.25f);
    EXPECT_FLOAT_EQ (manager().getTextToValueFunction (2) ("3.5"), 18.5f / 30.0f);
}

TEST_F (Eq713kParamsManagerTest, DecibelExpressionsAndTheOtherTextReadings)
{
    const auto stored = 0.37f;
    manager().setParamValue (nullptr, ParamData::LO_BOOST_1, stored);
    manager().setParamValue (nullptr, ParamData::LO_CPS_1, 0.1f);

    const struct { int id; const char* text; float expected; } cases[] = {
        { 2, "6 dB", 0.7f },
        { 2, " 6 DB ", 0.7f },
        { 2, "3,5", (3.5f + 15.0f) / 30.0f },
        { 2, "10/0", (1000.0f + 15.0f) / 30.0f },
        { 2, "10/0 dB", (1000.0f + 15.0f) / 30.0f },
        { 2, "1/0b", (1000.0f + 15.0f) / 30.0f },
        { 2, "10:4", (2.5f + 15.0f) / 30.0f },
        { 2, "2*-3", 0.3f },
        { 2, "1+2", 0.6f },
        { 2, "1.5+2.5", (4.0f + 15.0f) / 30.0f },
        { 2, "-5-3", (-8.0f + 15.0f) / 30.0f },
        { 2, "1/3", (0.33f + 15.0f) / 30.0f },
        { 2, "1b", (10.0f + 15.0f) / 30.0f },
        { 2, "0", 0.5f },
        { 2, "-15", 0.0f },
        { 2, "15 dB", 1.0f },
        { 2, "40", (40.0f + 15.0f) / 30.0f },
        { 2, "", stored },
        { 2, "loud", stored },
        { 2, "db", stored },
        { 2, "--5", stored },
        { 2, "1.5.5", stored },
        { 2, "2*3*4", stored },
        { 0, "LINK", 0.0f }, { 0, "link", 1.0f }, { 0, "DUAL MONO", 1.0f },
        { 1, "OFF", 0.0f }, { 10, "off", 1.0f }, { 10, "ON", 1.0f },
        { 4, "100", 0.1f }, { 5, "9.0", 0.0f }, { 19, "1", 0.0f },
    };

    for (const auto& c : cases)
        EXPECT_FLOAT_EQ (manager().getTextToValueFunction (c.id) (c.text), c.expected)
            << "id " << c.id << " text \"" << c.text << '"';

    EXPECT_FLOAT_EQ (manager().getParamValue (ParamData::LO_BOOST_1), stored) << "reading a text sets nothing";
}

TEST_F (Eq713kParamsManagerTest, LeavingDualMonoCopiesTheSelectedChannelOntoTheOther)
{
    const struct { int selected; int fromFirst; int toFirst; } cases[] = {
        { 0, ParamData::ENGAGE_1, ParamData::ENGAGE_2 },
        { 1, ParamData::ENGAGE_2, ParamData::ENGAGE_1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.selected);
        Eq713kPluginInstance fresh;
        auto& m = fresh.getProductManager();
        m.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
        for (int i = 0; i < ParamData::channelStride; ++i)
        {
            m.setParamValue (nullptr, ParamData::ENGAGE_1 + i, 0.01f * (float) (i + 1));
            m.setParamValue (nullptr, ParamData::ENGAGE_2 + i, 0.5f + 0.01f * (float) (i + 1));
        }
        m.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, c.selected);
        testing_support::pumpPendingMessages();

        ChangeLog log (m, { ParamData::CHANNEL });
        for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
            log.listenTo (id);

        m.setParamValue (&editor, ParamData::CHANNEL, 0.0f);

        ASSERT_EQ (log.entries.size(), 9u * 3u + 1u);
        for (int i = 0; i < ParamData::channelStride; ++i)
        {
            const auto target = c.toFirst + i;
            const auto* e = &log.entries[(size_t) i * 3];
            EXPECT_EQ (e[0].kind, ChangeLog::Entry::begin);
            EXPECT_EQ (e[1].kind, ChangeLog::Entry::value);
            EXPECT_EQ (e[2].kind, ChangeLog::Entry::end);
            for (int k = 0; k < 3; ++k)
            {
                EXPECT_EQ (e[k].id, target);
                EXPECT_EQ (e[k].source, nullptr);
            }
            EXPECT_EQ (m.getParamValue (target), m.getParamValue (c.fromFirst + i));
        }
        EXPECT_EQ (log.entries.back().id, ParamData::CHANNEL) << "CHANNEL is stored after the copy";

        const auto before = log.entries.size();
        testing_support::pumpPendingMessages();
        EXPECT_EQ (log.entries.size(), before) << "the linkers saw DUAL MONO during the copy";
    }
}

TEST_F (Eq713kParamsManagerTest, NoCopyForHostAutomationOtherSelectionsOrOtherChanges)
{
    const auto setUpDualMono = [] (Eq713kParamsManager& m, int selected)
    {
        m.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
        m.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.9f);
        m.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, selected);
    };

    {
        SCOPED_TRACE ("host automation");
        Eq713kPluginInstance fresh;
        auto& m = fresh.getProductManager();
        setUpDualMono (m, 0);
        m.setParamValue (m.getHostParameter (ParamData::CHANNEL), ParamData::CHANNEL, 0.0f);
        EXPECT_EQ (m.getParamValue (ParamData::LO_BOOST_2), 0.0f);
        EXPECT_EQ (m.getParamValue (ParamData::CHANNEL), 0.0f);
    }
    {
        SCOPED_TRACE ("selected channel 2 is neither");
        Eq713kPluginInstance fresh;
        auto& m = fresh.getProductManager();
        setUpDualMono (m, 2);
        m.setParamValue (&editor, ParamData::CHANNEL, 0.0f);
        EXPECT_EQ (m.getParamValue (ParamData::LO_BOOST_2), 0.0f);
    }
    // Exactly one half is not apart yet; a NaN is neither mode.
    for (const auto& [from, to] : { std::pair { 0.0f, 0.0f }, std::pair { 0.0f, 1.0f }, std::pair { 1.0f, 0.6f },
                                    std::pair { 0.5f, 0.0f }, std::pair { 1.0f, nan } })
    {
        SCOPED_TRACE (juce::String (from) + " to " + juce::String (to));
        Eq713kPluginInstance fresh;
        auto& m = fresh.getProductManager();
        m.setParamValue (nullptr, ParamData::CHANNEL, from);
        m.setParamValue (nullptr, ParamData::LO_BOOST_1, 0.9f);
        testing_support::pumpPendingMessages();
        const auto channel2Before = m.getParamValue (ParamData::LO_BOOST_2);

        ChangeLog log (m, { ParamData::LO_BOOST_2 });
        m.setParamValue (&editor, ParamData::CHANNEL, to);
        EXPECT_TRUE (log.entries.empty());
        EXPECT_EQ (m.getParamValue (ParamData::LO_BOOST_2), channel2Before);
    }
}

} // namespace
