#include "sound/sound_catalogue.h"

namespace soundboard {
namespace {

using A = CellAction;

// Twelve cells play a file whose name is not the caption plus ".mp3"; the
// parentheses in four file names are ASCII.
constexpr std::array<SoundCell, kGridSize * kGridSize> kCatalogue{{
    {"按钮_播放", "手枪声音", 0, 0, A::PlayFile, "手枪声音.mp3"},
    {"按钮_播放10", "尖叫声", 0, 1, A::PlayFile, "尖叫声.mp3"},
    {"按钮_播放36", "女人呻吟", 0, 2, A::PlayFile, "女人呻吟声.mp3"},
    {"按钮_播放44", "亲嘴声", 0, 3, A::PlayFile, "亲嘴声(敷衍).mp3"},
    {"按钮_播放28", "亲嘴声女", 0, 4, A::PlayFile, "亲嘴声(女).mp3"},
    {"按钮_播放24", "乌鸦飞过", 0, 5, A::PlayFile, "乌鸦飞过.mp3"},
    {"按钮_播放20", "群众笑声", 0, 6, A::PlayFile, "群众笑声.mp3"},
    {"按钮_播放40", "群斗剑击", 1, 0, A::PlayFile, "群斗剑击.mp3"},
    {"按钮_播放23", "轻微掌声", 1, 1, A::PlayFile, "轻微掌声.mp3"},
    {"按钮_播放19", "敲钟声", 1, 2, A::PlayFile, "敲钟声.mp3"},
    {"按钮_播放15", "敲锣声音", 1, 3, A::PlayFile, "敲锣声音.mp3"},
    {"按钮_播放11", "男人咳嗽", 1, 4, A::PlayFile, "男人咳嗽声.mp3"},
    {"按钮_播放3", "开枪", 1, 5, A::PlayFile, "开枪.mp3"},
    {"按钮_播放18", "救护车", 1, 6, A::PlayFile, "救护车.mp3"},
    {"按钮_播放66", "神经热线", 2, 0, A::PlayFile, "精神病热线.mp3"},
    {"按钮_播放52", "贱笑", 2, 1, A::PlayFile, "贱笑.mp3"},
    {"按钮_播放69", "激烈掌声", 2, 2, A::PlayFile, "激烈掌声.mp3"},
    {"按钮_播放68", "鬼叫声男", 2, 3, A::PlayFile, "鬼叫声(男).mp3"},
    {"按钮_播放67", "鼓声", 2, 4, A::PlayFile, "鼓声.mp3"},
    {"按钮_播放71", "狗叫", 2, 5, A::PlayFile, "狗叫.mp3"},
    {"按钮_播放86", "给枪上膛", 2, 6, A::PlayFile, "给枪上膛.mp3"},
    {"按钮_播放89", "非诚勿扰", 3, 0, A::PlayFile, "非诚勿扰亮灯.mp3"},
    {"按钮_播放91", "打架现场", 3, 1, A::PlayFile, "打架现场声音.mp3"},
    {"按钮_播放61", "打呼噜", 3, 2, A::PlayFile, "打呼噜.mp3"},
    {"按钮_播放64", "鞭打男人", 3, 3, A::PlayFile, "鞭打男人.mp3"},
    {"按钮_播放63", "婴儿笑声", 3, 4, A::PlayFile, "婴儿笑声.mp3"},
    {"按钮_播放75", "直升飞机", 3, 5, A::PlayFile, "直升飞机.mp3"},
    {"按钮_播放87", "Dorvik笑", 3, 6, A::PlayFile, "Dorvik笑声.mp3"},
    {"按钮_播放92", "搓碟", 4, 0, A::PlayFile, "搓碟.mp3"},
    {"按钮_播放65", "做人厚道", 4, 1, A::PlayFile, "做人要厚道点.mp3"},
    {"按钮_播放72", "砸玻璃", 4, 2, A::PlayFile, "砸玻璃声音.mp3"},
    {"按钮_播放60", "英文正数", 4, 3, A::PlayFile, "英文正数.mp3"},
    {"按钮_播放59", "鄙视声音", 4, 4, A::PlayFile, "鄙视声音.mp3"},
    {"按钮_播放79", "打饱嗝声", 4, 5, A::PlayFile, "打饱嗝声.mp3"},
    {"按钮_播放88", "欢呼掌声", 4, 6, A::PlayFile, "欢呼掌声.mp3"},
    {"按钮_播放14", "哈欠声", 5, 0, A::PlayFile, "哈欠声.mp3"},
    {"按钮_播放16", "鬼叫声女", 5, 1, A::PlayFile, "鬼叫声(女).mp3"},
    {"按钮_播放57", "机枪扫射", 5, 2, A::PlayFile, "机枪扫射.mp3"},
    {"按钮_播放56", "新闻联播", 5, 3, A::PlayFile, "新闻联播.mp3"},
    {"按钮_播放55", "心跳声", 5, 4, A::PlayFile, "心跳声.mp3"},
    {"按钮_播放81", "邪恶的笑", 5, 5, A::PlayFile, "邪恶的笑.mp3"},
    {"按钮_播放84", "恐怖笛声", 5, 6, A::PlayFile, "恐怖笛声.mp3"},
    {"按钮_播放50", "小孩叫声", 6, 0, A::PlayFile, "小孩叫声.mp3"},
    {"按钮_播放49", "小孩哭声", 6, 1, A::PlayFile, "小孩哭声.mp3"},
    {"按钮_播放53", "惊呼声", 6, 2, A::PlayFile, "惊呼声.mp3"},
    {"按钮3", "版权", 6, 3, A::PlayFile, "版权.mp3"},
    {"按钮4", "暂停", 6, 4, A::Pause, ""},
    {"按钮_播放85", "置顶", 6, 5, A::PinOnTop, ""},
    {"按钮_播放51", "取消置顶", 6, 6, A::UnpinFromTop, ""},
}};

}  // namespace

const std::array<SoundCell, kGridSize * kGridSize>& SoundCatalogue() { return kCatalogue; }

}  // namespace soundboard
