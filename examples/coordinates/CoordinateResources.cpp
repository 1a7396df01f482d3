// The editor's string table.
#include "examples/coordinates/CoordinateResources.h"

namespace coordinates {

const plat::Module& CoordinateModule()
{
    static const plat::Module* module = [] {
        static plat::Module made("coordinates");
        made.AddStrings({
            {kPointNo, "点番号\n点番"},
            {kPointName, "点名\n点名"},
            {kX, "X座標\nX座標"},
            {kY, "Y座標\nY座標"},
            {kZ, "標高\n標高"},
            {kCode, "コード\nコード"},
            {kLineType, "線種\n線種"},
            {kRadius, "曲線半径\n半径"},
            {kFlag, "確定フラグ\n確定"},
        });
        return &made;
    }();
    return *module;
}

} // namespace coordinates
