#pragma once
// The table of ways to turn grey into black and white dots. Each method is
// one small function over the rows of a grey picture (Format_Grayscale8, 0
// black to 255 white) that overwrites them with dots: 0 black, 255 white.
// docs/pictures.md describes each one.
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace dither {

enum class Method {
    Threshold,
    AutoThreshold, // Otsu's threshold of the picture's own grey levels
    FloydSteinberg,
    Atkinson,
    JarvisJudiceNinke,
    Stucki,
    Burkes,
    Sierra,
    Ordered4,
    Ordered8,
};

struct CMethodSettings {
    Method method = Method::FloydSteinberg;
    // White is above it: the threshold method and the error diffusions.
    int threshold = 128;
    // Odd rows from right to left with the weights mirrored (error diffusions).
    bool serpentine = false;
};

using RowsFunction = void (*)(QImage& grey, const CMethodSettings& settings);

struct CMethodEntry {
    Method method;
    const char* name;  // for the command line: "floyd-steinberg"
    const char* title; // for the operator: "Floyd–Steinberg"
    bool usesThreshold;
    bool diffusesError; // so serpentine scanning applies
    RowsFunction rows;
};

// Every method, in the order the operator is offered them.
const std::vector<CMethodEntry>& Methods();
const CMethodEntry& EntryOf(Method method);
std::optional<Method> MethodNamed(const QString& name);
// "threshold, auto-threshold, ..." for messages.
QString MethodNames();

// Runs the method over every row of grey (Format_Grayscale8); the threshold
// is taken between 0 and 255.
void Apply(QImage& grey, const CMethodSettings& settings);

// The threshold Otsu's method finds for grey: the one that best separates
// its grey levels into two classes (ties: the lowest). A picture of one grey
// level has no such split and gets 128.
int OtsuThreshold(const QImage& grey);

} // namespace dither
