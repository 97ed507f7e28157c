// The six worker figures, drawn as pixel art.
//
// Each frame is written row by row. A row of `half` characters is the left half of a
// symmetric row and is mirrored; a row "left|right" gives both halves. '.' is empty.
// Every frame gets a mask: white where the cell shows through, black under the figure.
// The frame itself is black wherever the mask is white, so that the game's AND-mask,
// XOR-frame drawing leaves the cell untouched around the figure.
#include "generators.h"
#include "pixel_canvas.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace pics {
namespace {

using Rows = std::vector<std::string>;
using Colours = std::map<char, Hex>;

Rows operator+(Rows a, const Rows& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Full-width rows from half rows.
Rows expand(const Rows& rows, std::size_t half) {
    Rows out;
    for (const std::string& r : rows) {
        if (r.size() == half) {
            std::string right(r.rbegin(), r.rend());
            out.push_back(r + right);
        } else if (r.size() == 2 * half + 1 && r[half] == '|') {
            out.push_back(r.substr(0, half) + r.substr(half + 1));
        } else {
            throw std::runtime_error("figure row of wrong width: \"" + r + "\"");
        }
    }
    return out;
}

Rows mirrored(const Rows& rows) {
    Rows out;
    for (const std::string& r : rows)
        out.emplace_back(r.rbegin(), r.rend());
    return out;
}

// Writes frame `name` and its mask; the figure stands on the bottom of the cell, centred.
void writeFrame(PictureSet& out, const QString& name, const Rows& rows, const Colours& colours) {
    Canvas frame(30, 30, 0x000000), mask(30, 30, 0xffffff);
    const int h = int(rows.size()), w = int(rows.front().size());
    if (h > 29 || w > 30) throw std::runtime_error("figure too large: " + name.toStdString());
    const int ox = (30 - w) / 2, oy = 29 - h;
    for (int y = 0; y < h; ++y) {
        if (int(rows[std::size_t(y)].size()) != w)
            throw std::runtime_error("ragged figure: " + name.toStdString());
        for (int x = 0; x < w; ++x) {
            const char ch = rows[std::size_t(y)][std::size_t(x)];
            if (ch == '.') continue;
            const auto it = colours.find(ch);
            if (it == colours.end())
                throw std::runtime_error(std::string("unknown colour '") + ch + "' in " +
                                         name.toStdString());
            frame.put(ox + x, oy + y, it->second);
            mask.put(ox + x, oy + y, 0x000000);
        }
    }
    out[name] = frame.indexed();
    out[name + "mask"] = mask.indexed(2);
}

// ------------------------------------------------------------------ figure 1: the worker
// Yellow hard hat, orange safety vest with reflective stripes, blue shirt.
void worker(PictureSet& out) {
    const Colours c = {{'k', 0x2a1e1a}, {'y', 0xf8c820}, {'Y', 0xc89010}, {'g', 0xfff4c0},
                       {'s', 0xf8c8a0}, {'S', 0xd89870}, {'m', 0xb04838}, {'o', 0xf27a1e},
                       {'O', 0xb85010}, {'r', 0xe8ecf0}, {'b', 0x4a7ad2}, {'B', 0x2c52a0},
                       {'t', 0x3a4664}, {'T', 0x262e46}, {'n', 0x6a4020}};
    const std::size_t H = 8;
    const Rows hat = {
        "......kk",          //
        "....kkyy",          //
        "...kyggy|yyyyk...", //
        "..kygyyy|yyyyyk..", //
        "..kyyyyy",          //
        ".kYYYYYY",          //
        "kYYYYYYY",          //
        ".kkkkkkk",          //
    };
    const Rows face = {
        "..knssss", //
        "..ksssss", //
        "..ksskss", //
        "..ksskss", //
        "..kSssss", //
        "...kSssm", //
        "....kkss", //
    };
    const Rows backOfHead = {
        "..knnnnn", //
        "..knnnnn", //
        ".kSknnnn", //
        ".kSknnnn", //
        "..knnnnn", //
        "...knnnn", //
        "....kkSS", //
    };
    const Rows bodyFront = {
        "..kkkoob", //
        ".kbbkoob", //
        ".kbbkrob", //
        ".kBbkroo", //
        ".kssOroo", //
        "..kkOOOO", //
    };
    const Rows bodyBack = {
        "..kkkooo", //
        ".kbbkooo", //
        ".kbbkrrr", //
        ".kBbkooo", //
        ".kssOooo", //
        "..kkOOOO", //
    };
    const Rows legsLeftUp = {
        "...ktttt",          //
        "...knnnk|ktttk...", //
        "..knnnnk|knnnk...", //
        "..kkkkkk|knnnnk..", //
        "........|kkkkkk..", //
    };
    const Rows legsRightUp = {
        "...ktttt",          //
        "...ktttk|knnnk...", //
        "...knnnk|knnnnk..", //
        "..knnnnk|kkkkkk..", //
        "..kkkkkk|........", //
    };
    const Rows down1 = expand(hat + face + bodyFront + legsLeftUp, H);
    const Rows down2 = expand(hat + face + bodyFront + legsRightUp, H);
    const Rows up1 = expand(hat + backOfHead + bodyBack + legsLeftUp, H);
    const Rows up2 = expand(hat + backOfHead + bodyBack + legsRightUp, H);

    const Rows side = {
        "......kk|kk......", //
        "....kkyy|yykk....", //
        "...kyyyy|yggyk...", //
        "..kyyyyy|ygyyyk..", //
        "..kyyyyy|yyyyyk..", //
        "..kYYYYY|YYYYYkk.", //
        "..kYYYYY|YYYYYYYk", //
        "...kkkkk|kkkkkkk.", //
        "...knnnn|sssssk..", //
        "...knnSS|sssssk..", //
        "...knnSk|ssksssk.", //
        "...knnSS|sskssssk", //
        "...knnnn|sssssk..", //
        "....knnn|ssmssk..", //
        ".....kkS|sssk....", //
        "....kkoo|bbk.....", //
        "...kooob|bbok....", //
        "...krrrb|bbrk....", //
        "...kooob|bbok....", //
        "...kooos|sOok....", //
        "...kOOOk|kOOk....", //
    };
    const Rows stride = {
        "....kttt|ttk.....", //
        "...kttkk|kttk....", //
        "..kttk..|.kttk...", //
        ".knnnk..|.knnnnk.", //
        ".kkkkk..|.kkkkkk.", //
    };
    const Rows together = {
        "....kttt|ttk.....", //
        "....kttt|ttk.....", //
        "....kttt|ttk.....", //
        "....knnn|nnnnk...", //
        "....kkkk|kkkkk...", //
    };
    const Rows right1 = expand(side + stride, H);
    const Rows right2 = expand(side + together, H);

    writeFrame(out, "1up1", up1, c);
    writeFrame(out, "1up2", up2, c);
    writeFrame(out, "1down1", down1, c);
    writeFrame(out, "1down2", down2, c);
    writeFrame(out, "1right1", right1, c);
    writeFrame(out, "1right2", right2, c);
    writeFrame(out, "1left1", mirrored(right1), c);
    writeFrame(out, "1left2", mirrored(right2), c);
}

// ------------------------------------------------------------------ figure 2: the girl
// Dark pigtails with red ribbons, pink dress with a white collar.
void girl(PictureSet& out) {
    const Colours c = {{'k', 0x2a1820}, {'h', 0x4a2a1c}, {'H', 0x7a4a30}, {'s', 0xfad0b0},
                       {'S', 0xe0a080}, {'c', 0xf49a9a}, {'r', 0xe8384a}, {'R', 0xa81e30},
                       {'p', 0xf07aa8}, {'P', 0xc04a80}, {'w', 0xffffff}, {'W', 0xd8d8e8},
                       {'n', 0x8a2a3a}};
    const std::size_t H = 8;
    const Rows headFront = {
        "......kk", //
        "....kkhh", //
        "...khhHH", //
        "..khhhhh", //
        ".rrkhhhh", //
        "rRrkhhhh", //
        ".rkhhhhh", //
        ".khhssss", //
        ".khsskss", //
        "khhsskss", //
        "khhcssss", //
        "khkssssr", //
        "kh.kkkss", //
        ".k...kss", //
    };
    const Rows headBack = {
        "......kk", //
        "....kkhh", //
        "...khhHh", //
        "..khhhhh", //
        ".rrkhhhh", //
        "rRrkhhhh", //
        ".rkhhhhh", //
        ".khhhhhh", //
        ".khhhhhh", //
        "khhhhhhh", //
        "khhkhhhh", //
        "khkkhhhh", //
        "kh.kkkhh", //
        ".k...kSS", //
    };
    const Rows bodyFront = {
        "...kkwww", //
        "..kskpww", //
        "..kskppp", //
        "..kskppp", //
        "..kSkPpp", //
        "..kpppPp", //
        ".kppppPp", //
        ".kPPPPPP", //
        ".kkkkkkk", //
    };
    const Rows bodyBack = {
        "...kkppp", //
        "..kskppp", //
        "..kskppp", //
        "..kskppp", //
        "..kSkpPp", //
        "..kpppPp", //
        ".kppppPp", //
        ".kPPPPPP", //
        ".kkkkkkk", //
    };
    const Rows legsA = {
        "....kswk|kwsk....", //
        "....knnk|kwwk....", //
        "........|knnk....", //
    };
    const Rows legsB = {
        "....kwsk|kswk....", //
        "....kwwk|knnk....", //
        "....knnk|........", //
    };
    writeFrame(out, "2down1", expand(headFront + bodyFront + legsA, H), c);
    writeFrame(out, "2down2", expand(headFront + bodyFront + legsB, H), c);
    writeFrame(out, "2up1", expand(headBack + bodyBack + legsA, H), c);
    writeFrame(out, "2up2", expand(headBack + bodyBack + legsB, H), c);

    const Rows side = {
        "......kk|kk......", //
        "....kkhh|hhkk....", //
        "...khhhh|HHhhk...", //
        "..khhhhh|hhhhhk..", //
        "..khhhhh|hhhhhk..", //
        ".krhhhhh|hhhhhk..", //
        "krRkhhhh|hssssk..", //
        "krkhhhhh|ssssssk.", //
        "khkhhhhh|sskssssk", //
        "khkhhhhh|sskssssk", //
        "khkhhhhS|sssscsk.", //
        "kh.khhhh|sssssrk.", //
        "k...khhh|skkkkk..", //
        ".....kkS|Sk......", //
        "......kp|wwk.....", //
        ".....kpp|pwk.....", //
        ".....kpp|ppsk....", //
        ".....kpp|pksk....", //
        ".....kpp|pkSk....", //
        "....kppp|pPk.....", //
        "...kpppp|ppPk....", //
        "...kPPPP|PPPPk...", //
        "...kkkkk|kkkkk...", //
    };
    const Rows stride = {
        "....kswk|kswk....", //
        "...kwwk.|.kwwk...", //
        "...knnk.|.knnnk..", //
    };
    const Rows together = {
        ".....ksw|wk......", //
        ".....kww|wk......", //
        ".....knn|nnk.....", //
    };
    const Rows right1 = expand(side + stride, H);
    const Rows right2 = expand(side + together, H);
    writeFrame(out, "2right1", right1, c);
    writeFrame(out, "2right2", right2, c);
    writeFrame(out, "2left1", mirrored(right1), c);
    writeFrame(out, "2left2", mirrored(right2), c);
}

// ------------------------------------------------------------------ figure 3: the robot
// Antenna light and eyes change between the two frames.
void robot(PictureSet& out) {
    const Colours c = {{'k', 0x1a2030}, {'m', 0xb8c6d4}, {'M', 0x7a8aa0}, {'l', 0xeef4fa},
                       {'v', 0x1e2c44}, {'e', 0x48e8ff}, {'E', 0x1e8aaa}, {'a', 0xff4a4a},
                       {'A', 0x8a2a2a}, {'y', 0xffd040}, {'g', 0x4ad064}, {'t', 0x454e5e}};
    const std::size_t H = 8;
    auto frame = [&](bool lit) {
        const char a = lit ? 'a' : 'A';
        const std::string eye1 = lit ? "..kmvvee" : "..kmvvEE";
        const std::string eye2 = lit ? "..kmvvee" : "..kmvvvv";
        return Rows{
            std::string(".......") + a,
            std::string("......k") + a,
            ".......k",
            ".......k",
            "...kkkkk",
            "..klllll",
            "..kmmmmm",
            "kkkmvvvv",
            "kMkmvvvv",
            "kMk" + eye1.substr(3),
            "kMk" + eye2.substr(3),
            "kkkmvvvv",
            "..kmmmmm",
            "..kMmkmk",
            "..kMMMMM",
            "...kkkkk",
            ".kkkllll",
            "kmkmmmmm",
            lit ? "kmkmkyyg|gyykmkmk" : "kmkmkggy|yggkmkmk",
            lit ? "kmkmkyyg|gyykmkmk" : "kmkmkggy|yggkmkmk",
            "kMkmkkkk",
            "kkkMMMMM",
            ".kkkkkkk",
            "..ktttkt",
            "..kttktt",
            "..kkkkkk",
        };
    };
    writeFrame(out, "3down1", expand(frame(true), H), c);
    writeFrame(out, "3down2", expand(frame(false), H), c);
}

// ------------------------------------------------------------------ figure 4: the cat
// A ginger cat sitting; it blinks and flicks its tail.
void cat(PictureSet& out) {
    const Colours c = {{'k', 0x2e1c10}, {'o', 0xf39a36}, {'O', 0xc8681e},
                       {'d', 0xa04a14}, {'w', 0xfff8ec}, {'W', 0xe0d4c4},
                       {'p', 0xf08aa0}, {'g', 0x7ad04a}, {'G', 0x3e8a2a}};
    const std::size_t H = 9;
    auto frame = [&](bool open) {
        const Rows head = {
            "..k......",                      //
            "..kk.....",                      //
            "..kpk....",                      //
            "..kopkkkk",                      //
            "..kooodoo",                      //
            ".koooodoo",                      //
            ".kooooooo",                      //
            open ? ".koogkooo" : ".kooooooo", //
            open ? ".kooGkooo" : ".kookkooo", //
            ".koowwwwp",                      //
            "..kowwwwk",                      //
            "...kwwkkw",                      //
            "....kkkkk",                      //
        };
        Rows body = {
            "....kooow|woook....", //
            "...koodww|wwdook...", //
            "...kodoww|wwodok...", //
            "..koodoww|wwodook..", //
            "..kooodww|wwdoookkk", //
            "..kooodww|wwdoooook", //
            "..kdooooo|ooooodkok", //
            "..kdooooo|oooooodk.", //
            "..kOwwOoo|ooOwwOkk.", //
            "...kkkkkk|kkkkkkk..", //
        };
        if (!open) {
            // tail flicked up
            body[1] = "...koodww|wwdook.k.";
            body[2] = "...kodoww|wwodok.ok";
            body[3] = "..koodoww|wwodookok";
            body[4] = "..kooodww|wwdoookok";
            body[5] = "..kooodww|wwdooookk";
            body[6] = "..kdooooo|ooooodkk.";
        }
        return expand(head, H) + expand(body, H);
    };
    writeFrame(out, "4down1", frame(true), c);
    writeFrame(out, "4down2", frame(false), c);
}

// ------------------------------------------------------------------ figure 5: the ghost
// It looks where it goes; seen from behind when going up. No animation.
void ghost(PictureSet& out) {
    const Colours c = {{'k', 0x3a3a62}, {'w', 0xf8f8ff}, {'W', 0xc8cae8}, {'l', 0xe4e6fa},
                       {'e', 0x23234a}, {'i', 0xffffff}, {'c', 0xf6a8c0}, {'m', 0x6a3a5a}};
    const std::size_t H = 9;
    const Rows top = {
        "......kkk", //
        "....kkwww", //
        "...kwwwww", //
        "..kwwllww", //
        "..kwlwwww", //
        ".kwwwwwww", //
    };
    const Rows skirt = {
        ".kWwwwwww", //
        "kWWwwwwww", //
        "kWWwwwwww", //
        "kWWWwwwww", //
        "kWWWWwwwW", //
        "kWWWWWWWW", //
        "kWWkWWWkW", //
        "kWk.kWk.k", //
        ".k...k...", //
    };
    const Rows front = {
        ".kwwwwwww", //
        "kwwweewww", //
        "kwwweiwww", //
        "kwwweewww", //
        "kwcwwwwww", //
        "kwwwwwmmw", //
    };
    const Rows back = {
        ".kwwwwwww", //
        "kwwwwwwww", //
        "kwwwwwwww", //
        "kwwwwwwww", //
        "kwwwwwwww", //
        "kwwwwwwww", //
    };
    const Rows side = {
        ".kwwwwwww|wwwwwwwk.", //
        "kwwwwwwww|weewweewk", //
        "kwwwwwwww|weiwweiwk", //
        "kwwwwwwww|weewweewk", //
        "kwwwwwwww|wwwwwwcwk", //
        "kwwwwwwww|wwwwmmwwk", //
    };
    writeFrame(out, "5down1", expand(top + front + skirt, H), c);
    writeFrame(out, "5up1", expand(top + back + skirt, H), c);
    const Rows right = expand(top, H) + expand(side, H) + expand(skirt, H);
    writeFrame(out, "5right1", right, c);
    writeFrame(out, "5left1", mirrored(right), c);
}

// ------------------------------------------------------------------ figure 6: the snowman
// It waves its twig arms and its scarf flutters.
void snowman(PictureSet& out) {
    const Colours c = {{'k', 0x28303e}, {'w', 0xffffff}, {'W', 0xc6d6ea}, {'h', 0x24242c},
                       {'H', 0x4a4a58}, {'r', 0xd83040}, {'R', 0x961c2c}, {'n', 0xf08020},
                       {'b', 0x7a4a20}, {'e', 0x101018}};
    const std::size_t H = 11;
    auto frame = [&](bool wave) {
        Rows r = {
            ".......kkkk",             //
            ".......khhh",             //
            ".......khHh",             //
            ".......khhh",             //
            ".......krrr",             //
            ".....kkkkkk",             //
            "......kwwww",             //
            ".....kwwwww",             //
            ".....kwweww|wewwwk.....", //
            ".....kwwwww|nnnnnk.....", //
            ".....kWwwww|wwwWk......", //
            "......kWWrr|rrrk.......", //
            ".....krrrrr|rrrrrk.....", //
            ".....kRRkrr|RRRRk......", //
            "......kWkrr|wWWWWk.....", //
            ".....kwkRRk|wwwwWWk....", //
            "....kwwkRRk|wwwwwWWk...", //
            "...kwwwwkkw|wwwwwwWWk..", //
            "...kwwwwwwe|wwwwwwWWk..", //
            "...kwwwwwww|wwwwwwWWk..", //
            "...kWwwwwwe|wwwwwwWWk..", //
            "...kWWwwwww|wwwwwWWWk..", //
            "....kWWwwww|wwwwWWWk...", //
            ".....kkWWWW|WWWWWkk....", //
            ".......kkkk|kkkkk......", //
        };
        if (wave) {
            r[12] = ".....krrrrr|rrrrrk.....";
            r[13] = ".....kRRkrr|RRRRkk.....";
            r[14] = "......kWkrr|wwWWWk.....";
            r[15] = ".....kwkRRk|wwwwWWk....";
            r[16] = "....kwwkRk.|wwwwwWWk...";
            // arms up
            r[9] = "b....kwwwww|nnnnnk....b";
            r[10] = ".b...kWwwww|wwwWk....b.";
            r[11] = "..bbbkWWrrr|rrrkbbbbb..";
        } else {
            r[15] = ".....kwkRRk|wwwwWWk....";
            r[16] = "....kwwkRRk|wwwwwWWk...";
            r[13] = "bbb..kRRkrr|RRRRk..bbbb";
            r[14] = "..bbbbkWkrr|wWWWWkbb...";
            r[12] = "b....krrrrr|rrrrrk.....";
        }
        return expand(r, H);
    };
    writeFrame(out, "6down1", frame(false), c);
    writeFrame(out, "6down2", frame(true), c);
}

} // namespace

void drawFigures(PictureSet& out) {
    worker(out);
    girl(out);
    robot(out);
    cat(out);
    ghost(out);
    snowman(out);
}

} // namespace pics
