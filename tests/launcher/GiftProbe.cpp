// A stand-in for the player in the launcher tests: it reads its gift the way
// the player does and prints what it found, one "name=value" line each.

#include "files/GiftFile.h"
#include "files/GiftPath.h"

#include <cstdio>
#include <exception>

int main() {
    const std::string& gift = zg::giftPath();
    std::printf("gift=%s\nbundle=%s\n", gift.c_str(), zg::bundleDirectory().c_str());
    try {
        const zg::GiftFile file = zg::GiftFile::open(gift);
        std::printf("title=%s\npicture=%u\n", file.info().Title.c_str(), unsigned(file.info().PictureLength));
    } catch (const std::exception& e) {
        std::printf("error=%s\n", e.what());
        return 1;
    }
    return 0;
}
