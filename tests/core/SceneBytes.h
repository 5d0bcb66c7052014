#pragma once
// Scene file bytes as the tests expect them.

#include <QByteArray>

#include <initializer_list>

// A file as the writers leave it: every line followed by CR LF, then one more CR LF.
inline QByteArray fileOf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *line : lines)
        out += QByteArray(line) + "\r\n";
    return out + "\r\n";
}

// The first scene of the end-to-end save, "Beach": the main character with
// blinks, the user character's mouth and an extra animation of three frames,
// every layer placed, two sounds.
inline QByteArray beachSceneBytes()
{
    return fileOf({
        "BG=BeachBG.jpg;", "KM=BeachMouth01.jpg;", "KMh=41.0137464091709;", "KMw=56.0206195192546;", "KMx=381;",
        "KMy=260;", "KB=BeachBlink01.jpg;", "KBh=41.0137464091709;", "KBw=56.0206195192546;", "KBx=330;",
        "KBy=210;", "UM=BeachUserMouth01.jpg;", "UMh=41.0137464091709;", "UMw=56.0206195192546;", "UMx=450;",
        "UMy=300;", "MP=BeachExtra01.jpg;", "MPh=47.0240557907913;", "MPw=68.0034375945608;", "MPx=50;",
        "MPy=51;", "MR=100;", "MF=3;", "MD=3;", "MS=100;", "MPL=Loop;", "MPLT=End;", "Sound1=Rain.wav;",
        "Sound1R=0;", "Sound1LoopDelay=1;", "Sound1Loop=True;", "Sound1PauseForTalk=False;", "Sound2=Bird.wav;",
        "Sound2R=30;",
    });
}
