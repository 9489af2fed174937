// The plot as a person reads it and as any viewer opens it: a few points a
// pixel column however many frames, a dot for a lone frame, tick labels of
// one form, and a legend below the axes that names every line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "simhost/run/plot_points.h"
#include "simhost/run/run_plot.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

// Frames from 0, a value each, set where `set` says.
sim::RunReport framesOf(const std::vector<double>& values, const std::vector<bool>& set = {}) {
    sim::RunReport report;
    for (size_t n = 0; n < values.size(); ++n)
        report.frames.push_back({int(n), n / 24.0, values[n], set.empty() || set[n]});
    return report;
}

sim::Scene sceneOf(int frames) {
    sim::Scene scene;
    scene.lastFrame = frames - 1;
    scene.channelName = "Camera.FocalDistance";
    return scene;
}

TEST(PlotPoints, EveryFrameIsAPointWhereFramesAreFewerThanColumns) {
    sim::RunReport report = framesOf({3, 4, 5, 6, 7}, {true, true, false, true, true});
    std::vector<sim::PlotRun> runs = sim::plotRuns(report.frames, [](int frame) { return frame * 10LL; });
    ASSERT_EQ(runs.size(), 3u);
    // Left alone first, so that the frames set are drawn over them.
    EXPECT_FALSE(runs[0].set);
    ASSERT_EQ(runs[0].points.size(), 1u);
    EXPECT_EQ(runs[0].points[0].frame, 2);
    EXPECT_TRUE(runs[1].set && runs[2].set);
    EXPECT_EQ(runs[1].points.size(), 2u);
    EXPECT_EQ(runs[2].points.front().frame, 3);
}

TEST(PlotPoints, AColumnOfManyFramesKeepsItsEndsAndItsLeastAndGreatest) {
    std::vector<double> values;
    const int kFrames = 1000000, kColumns = 500;
    for (int n = 0; n < kFrames; ++n) values.push_back(std::sin(n * 0.001) + (n == 123457 ? 5 : 0));
    sim::RunReport report = framesOf(values);
    std::vector<sim::PlotRun> runs =
        sim::plotRuns(report.frames, [&](int frame) { return static_cast<long long>(frame) * kColumns / kFrames; });
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_LE(runs[0].points.size(), size_t(4 * kColumns));
    EXPECT_EQ(runs[0].points.front().frame, 0);
    EXPECT_EQ(runs[0].points.back().frame, kFrames - 1);
    // The one spike is kept, however narrow.
    EXPECT_TRUE(std::any_of(runs[0].points.begin(), runs[0].points.end(),
                            [](const sim::PlotPoint& point) { return point.frame == 123457; }));
    EXPECT_TRUE(std::is_sorted(runs[0].points.begin(), runs[0].points.end(),
                               [](const sim::PlotPoint& a, const sim::PlotPoint& b) { return a.frame < b.frame; }));

    // Frames set and left alone in turn make at most a run a column of each kind.
    std::vector<bool> alternate;
    for (int n = 0; n < kFrames; ++n) alternate.push_back(n % 2 == 0);
    report = framesOf(values, alternate);
    runs = sim::plotRuns(report.frames, [&](int frame) { return static_cast<long long>(frame) * kColumns / kFrames; });
    EXPECT_LE(runs.size(), size_t(2 * kColumns));
}

TEST(Plot, AnyNumberOfFramesMakesASmallPlot) {
    const int kFrames = 1000000;
    std::vector<double> values;
    for (int n = 0; n < kFrames; ++n) values.push_back(n % 1000);
    sim::RunReport report = framesOf(values);
    std::string svg = sim::plotSvg(sceneOf(kFrames), report);
    EXPECT_LT(svg.size(), size_t(100) << 10);
    // The frames axis reads in one form, not 800000 beside 1e+06.
    EXPECT_TRUE(contains(svg, ">800000</text>")) << svg.substr(0, 3000);
    EXPECT_TRUE(contains(svg, ">1000000</text>")) << svg.substr(0, 3000);
    EXPECT_FALSE(contains(svg, "e+06"));
}

TEST(Plot, ALoneFrameIsADot) {
    sim::RunReport one = framesOf({6.5});
    std::string svg = sim::plotSvg(sceneOf(1), one);
    EXPECT_EQ(count(svg, "<circle "), 1u) << svg;
    EXPECT_EQ(count(svg, "<polyline "), 0u) << svg;
    // A frame set alone among frames left alone is a dot too, as each of them is.
    sim::RunReport among = framesOf({1, 2, 3}, {false, true, false});
    svg = sim::plotSvg(sceneOf(3), among);
    EXPECT_EQ(count(svg, "<circle "), 3u) << svg;
    EXPECT_EQ(count(svg, "fill=\"#1f6fb2\"/>"), 1u) << svg;
}

TEST(Plot, TickLabelsTakeOneForm) {
    EXPECT_EQ(sim::tickLabels({0, 200000, 400000, 600000, 800000, 1000000}),
              (std::vector<std::string>{"0", "200000", "400000", "600000", "800000", "1000000"}));
    EXPECT_EQ(sim::tickLabels({0, 2.5, 5, 7.5}), (std::vector<std::string>{"0.0", "2.5", "5.0", "7.5"}));
    EXPECT_EQ(sim::tickLabels({5.9, 5.95, 6}), (std::vector<std::string>{"5.90", "5.95", "6.00"}));
    EXPECT_EQ(sim::tickLabels({-1, 0, 1}), (std::vector<std::string>{"-1", "0", "1"}));
    // Past a billion, or too small for a short fixed form, every label has an exponent.
    EXPECT_EQ(sim::tickLabels({0, 5e149, 1e150}), (std::vector<std::string>{"0", "5e+149", "1e+150"}));
    EXPECT_EQ(sim::tickLabels({0, 2.5e-12, 5e-12}), (std::vector<std::string>{"0", "2.5e-12", "5.0e-12"}));
}

// The legend stands below the axes, names each line by its setting, says
// what grey means, and gives a series that was never set a grey sample.
TEST(Plot, TheLegendNamesEveryLineBelowTheAxes) {
    sim::Scene scene = sceneOf(4);
    sim::RunReport set = framesOf({1, 2, 3, 4}), alone = framesOf({9, 9, 9, 9}, {false, false, false, false});
    const std::string longLabel = "Reference Item=" + std::string(100, 'W');
    std::string svg = sim::plotSvg(scene, {{"Reference Item=Close-up", &set}, {longLabel, &alone}});
    EXPECT_TRUE(contains(svg, ">Reference Item=Close-up</text>")) << svg;
    EXPECT_TRUE(contains(svg, "stroke=\"#999\" stroke-width=\"2\"/>\n<text x=\"114\" y=\"418\">Reference Item=WWW"))
        << svg;
    EXPECT_TRUE(contains(svg, "W\xE2\x80\xA6</text>")) << "a long label is cut: " << svg;
    EXPECT_FALSE(contains(svg, std::string(100, 'W')));
    EXPECT_TRUE(contains(svg, ">not set by the modifier: the channel keeps its own value</text>")) << svg;
    // Below the axes' names, on a canvas grown to hold it.
    EXPECT_TRUE(contains(svg, "height=\"450\"")) << svg;
    EXPECT_TRUE(contains(svg, "<text x=\"114\" y=\"400\">Reference Item=Close-up")) << svg;

    // A lone run whose frames were all set needs no legend.
    EXPECT_FALSE(contains(sim::plotSvg(scene, set), "not set by the modifier"));
    EXPECT_TRUE(contains(sim::plotSvg(scene, alone), ">not set by the modifier"));
}

}  // namespace
