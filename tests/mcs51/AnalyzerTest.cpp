// The logic analyzer: a 1 kHz square wave made with Timer 0 read as 1.000 ms periods, the
// timer's overflows at their own cycles however late the lazy count finds them, a step back
// that leaves a record consistent with where the chip stands, the cursors on edges and the zoom.
#include "Mcs51TestSupport.h"

#include "mcs51/LogicAnalyzer51.h"

#include <gtest/gtest.h>

using namespace mcs51;

namespace {

// Timer 0 in mode 2 overflows every 250 cycles; every second overflow inverts P1.0.
const Bytes51 kSquareWave = [] {
    Bytes51 code(0x60, 0x00);
    const Bytes51 reset = {0x02, 0x00, 0x30};
    const Bytes51 vector = {0x02, 0x00, 0x50};
    const Bytes51 main = {0x75, 0x89, 0x02,  // mov tmod, #02h
                          0x75, 0x8C, 0x06,  // mov th0, #06h
                          0x75, 0x8A, 0x06,  // mov tl0, #06h
                          0x7F, 0x02,        // mov r7, #2
                          0xD2, 0xA9,        // setb et0
                          0xD2, 0xAF,        // setb ea
                          0xD2, 0x8C,        // setb tr0
                          0x80, 0xFE};       // sjmp $
    const Bytes51 handler = {0xDF, 0x04,  // djnz r7, done
                             0x7F, 0x02,  // mov r7, #2
                             0xB2, 0x90,  // cpl p1.0
                             0x32};       // done: reti
    std::copy(reset.begin(), reset.end(), code.begin());
    std::copy(vector.begin(), vector.end(), code.begin() + 0x0B);
    std::copy(main.begin(), main.end(), code.begin() + 0x30);
    std::copy(handler.begin(), handler.end(), code.begin() + 0x50);
    return code;
}();

const unsigned kP10 = 8;
const unsigned kT0 = kPinChannels51 + kCounterT0;

class Analyzer : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_machine = MachineWith(kSquareWave);
        m_machine->Attach(m_analyzer);
        m_machine->WatchTimers(&m_analyzer);
    }
    void TearDown() override { m_machine->Detach(m_analyzer); }

    std::string Text() const { return m_analyzer.View().text; }
    // The column of the picture that shows cycle.
    int ColumnOf(uint64_t cycle) const
    {
        const uint64_t span = m_analyzer.Scale() * CLogicAnalyzer51::kDivisions;
        const uint64_t left = m_machine->Cycles() - span;
        return CLogicAnalyzer51::kLabelWidth + static_cast<int>((cycle - left) * CLogicAnalyzer51::kPlotWidth / span);
    }
    void Click(int x, int row)
    {
        m_analyzer.View();
        m_analyzer.Input({.x = x, .y = CLogicAnalyzer51::kAxisHeight + row * CLogicAnalyzer51::kRowHeight + 4});
    }
    void Key(char key) { m_analyzer.Input({.pointer = false, .key = key}); }

    CLogicAnalyzer51 m_analyzer;
    std::unique_ptr<CMachine51> m_machine;
};

TEST_F(Analyzer, ReadsTheSquareWavesPeriodAndTheTimersInterval)
{
    EXPECT_NE(Text().find("\xCD\xA8\xB5\xC0: "), std::string::npos) << "nothing moved yet:\n" << Text();
    m_machine->Run(20000);
    const std::string text = Text();
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "\xC2\xDF\xBC\xAD\xB7\xD6\xCE\xF6\xD2\xC7: \xC3\xBF\xB8\xF1 1 ms");
    EXPECT_NE(text.find("\r\nP1.0: \xD6\xDC\xC6\xDA 1.000 ms, \xB8\xDF 500 \xA6\xCCs, \xB5\xCD 500 \xA6\xCCs\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nT0 \xD2\xE7\xB3\xF6: \xBC\xE4\xB8\xF4 250 \xA6\xCCs\r\n"), std::string::npos) << text;
    // Every overflow at its own cycle, 250 apart, although the run synced the timer lazily.
    const auto& overflows = m_analyzer.Record().Entries(kT0);
    ASSERT_GT(overflows.size(), 70u);
    for (size_t i = 1; i < overflows.size(); ++i)
        EXPECT_EQ(overflows[i].cycle - overflows[i - 1].cycle, 250u) << i;
    EXPECT_EQ(m_analyzer.View().picture.width, CLogicAnalyzer51::kLabelWidth + CLogicAnalyzer51::kPlotWidth);
}

TEST_F(Analyzer, AStepBackDropsWhatCameAfterAndTheRunAgainRecordsTheSame)
{
    m_machine->EnableHistory(true);
    m_machine->Run(3000);
    const auto edges = m_analyzer.Record().Entries(kP10);
    const auto overflows = m_analyzer.Record().Entries(kT0);
    const uint64_t reached = m_machine->Cycles();
    for (int step = 0; step < 400; ++step)
        ASSERT_TRUE(m_machine->StepBack());
    const uint64_t back = m_machine->Cycles();
    ASSERT_LT(back, edges.back().cycle) << "the steps back went past an edge";
    for (unsigned channel : {kP10, kT0})
        EXPECT_LE(m_analyzer.Record().Entries(channel).back().cycle, back) << channel;
    while (m_machine->Cycles() < reached)
        m_machine->Step();
    EXPECT_EQ(m_analyzer.Record().Entries(kP10).size(), edges.size());
    for (size_t i = 0; i < edges.size(); ++i)
        EXPECT_EQ(m_analyzer.Record().Entries(kP10)[i].cycle, edges[i].cycle) << i;
    EXPECT_EQ(m_analyzer.Record().Entries(kT0).size(), overflows.size());
}

TEST_F(Analyzer, CursorsSnapToEdgesAndTheZoomChangesTheGrid)
{
    m_machine->Run(20000);
    const auto& edges = m_analyzer.Record().Entries(kP10);
    const uint64_t first = edges[edges.size() - 4].cycle;
    const uint64_t second = edges[edges.size() - 3].cycle;
    // A few pixels beside each edge: the cursor lands on the edge itself.
    Click(ColumnOf(first) + 2, 0);
    Click(ColumnOf(second) - 2, 0);
    const std::string text = Text();
    EXPECT_NE(text.find("\xB9\xE2\xB1\xEA: A "), std::string::npos) << text;
    EXPECT_NE(text.find(", \xBC\xE4\xB8\xF4 500 \xA6\xCCs\r\n"), std::string::npos) << text;
    Click(2, 0);
    EXPECT_EQ(Text().find("\xB9\xE2\xB1\xEA: "), std::string::npos) << "a click on the labels takes the cursors away";

    const struct {
        char key;
        const char* grid;
    } zooms[] = {{'+', "500 \xA6\xCCs"}, {'+', "200 \xA6\xCCs"}, {'-', "500 \xA6\xCCs"}, {'-', "1 ms"}, {'-', "2 ms"}};
    for (const auto& zoom : zooms) {
        Key(zoom.key);
        EXPECT_EQ(Text().substr(0, Text().find("\r\n")), std::string("\xC2\xDF\xBC\xAD\xB7\xD6\xCE\xF6\xD2\xC7: \xC3\xBF\xB8\xF1 ") + zoom.grid);
    }
    EXPECT_FALSE(m_analyzer.Input({.pointer = false, .key = 'x'}));
}

}  // namespace
