// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every test class of the telephone model in one executable.
#include <QCoreApplication>

int runDisplayTests(int argc, char **argv);
int runSoftKeyTests(int argc, char **argv);
int runTimerTests(int argc, char **argv);
int runLampTests(int argc, char **argv);
int runKeyTests(int argc, char **argv);
int runFuzzTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run :
         {runDisplayTests, runSoftKeyTests, runTimerTests, runLampTests, runKeyTests, runFuzzTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
