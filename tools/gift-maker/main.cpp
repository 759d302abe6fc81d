// gift-maker: makes a jigsaw gift from a picture and options, and lists the
// trailer of an existing gift. All the work happens in runGiftMaker.

#include "GiftMaker.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return zg::maker::runGiftMaker(args, std::cout, std::cerr);
}
