// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PhoneApp.h"

int main(int argc, char **argv)
{
    return dpx::PhoneApp::run(argc, argv);
}
