#include "window/texts.h"

namespace texts {

// The password-quiz question shown in Text4. The answer lines are indented
// with two ideographic spaces and a space to leave room for the check boxes.
const QString kQuestion
    = QStringLiteral("　　成为社会人士，每个人就有密码，领款不能没有密码，大哥大也有密码，每天用的"
                     "电脑更有密码，E世界真是处处有密码，忘记了密码就好像通行证失效，无法行使某些权"
                     "利，你是如何「制造」出你的密码？你会怎么认为呢？请选择以下答案：\r\n"
                     "　　\r\n"
                     "　　 A、生日或自家电话号码。\r\n"
                     "　　\r\n"
                     "　　 B、身份证号码。\r\n"
                     "　　\r\n"
                     "　　 C、三天两头就视心情而更换。 \r\n"
                     "　　\r\n"
                     "　　 D、精心设计，谁也猜不出的奇怪组合。 \r\n");

// The number trick, shown in Text1 whenever the extra panel opens or closes.
const QString kNumberTrick
    = QStringLiteral("神奇的测试：可以计算出你的电话号码是多少\r\n"
                     "--------------------------\r\n"
                     "怎么真的可以算出来咧? \r\n"
                     "试试看,还蛮好好玩的呢~ \r\n"
                     "电话号码要 8位数字喔, 7位数字算完后 中间会重复一码) \r\n"
                     "有数学系的人吗? \r\n"
                     "告诉我为什么吧! \r\n"
                     "\r\n"
                     "我可以算出你家电话号码喔~ \r\n"
                     "1. 请将电话号码【前】4字输入计算机 \r\n"
                     "2. 将它 x 80 \r\n"
                     "3. + 1 \r\n"
                     "4. x 250 \r\n"
                     "5. + 电话号码【後】4字 \r\n"
                     "6. + 再加多一次电话号码【後】4字 \r\n"
                     "7. 将总数 － 250 \r\n"
                     "最後将萤幕上的数字【÷】2 \r\n"
                     "看看是不是你的电话~ 哇哈哈~哇哇哈~\r\n");

// Interpretations of the quiz answers A to D.
const QString kAnswerA = QStringLiteral(
    "==========================\r\n"
    "选A的人：生日或自家电话号码。\r\n"
    "　　\r\n"
    "　　会选用生日或自家电话号码，来当密码的人，其实是很好搞定的爱人，不难追，挑战性也不强，因为他"
    "（她）心里在打什么主意，相处一段时间，就可以掌握到八九分，剩下那一两分，也是虽不中，亦不远矣。"
    "所以这类人要是有爱情走私或是搞鬼，粉快就会爱人发现到一些蛛丝马迹。\r\n");

const QString kAnswerB
    = QStringLiteral("==========================\r\n"
                     "选B的人：身份证号码。\r\n"
                     "　　\r\n"
                     "　　这类爱人戒心粉重，所以建立在两人情感关系上的信任，将是最重要的关键。喜欢"
                     "观察对方，甚至出些测试来考验对方，不时考虑双方的适合程度，如果没有得到信任，"
                     "两人的关系就无法有进一步的突破，你也不会是他（她）想要共度一生的伴侣。\r\n");

const QString kAnswerC = QStringLiteral(
    "===========================\r\n"
    "　　 选C的人：三天两头就视心情而更换。\r\n"
    "　　\r\n"
    "　　这类人变化没有规则可言，连他或她自我都无法控制。要讨好这种爱人，是高难度的挑战，因为连他或"
    "她都不知要的到底是什么，自己都头痛，爱人当然更头痛，今天适用的招术，明天可能就失效了。所以要对"
    "付这种爱人，最好的对策就是以不变应万变，管他或她如何变，反正总有一天又会变回来，而你的不变，就"
    "巧妙的创造了安全感。 \r\n");

const QString kAnswerD = QStringLiteral(
    "============================\r\n"
    "　　 选D的人：精心设计，谁也猜不出的奇怪组合。\r\n"
    "　　\r\n"
    "　　这类人内心较为复杂，想得粉多，爱变也喜欢变，老是会想让人猜不透。想要追上他或她，最佳的方法"
    "，是有时要能一针见血，掌握对方的想法；有时即使知道，也是要装傻一下，让他们有点成就感，又不会觉"
    "得你太蠢，总之欲擒故纵就对了，如果你还有本事，能在下半生常常出点花招，使他或她猜不透你的想法，"
    "那你就成功大半了。 \r\n");

// The contact block, first text of Text1. Placeholder addresses only.
const QString kContact = QStringLiteral("Vexo主页：http://www.example.com/\r\n"
                                        "---------------------\r\n"
                                        "\r\n"
                                        "我的QQ：12345678\r\n"
                                        "\r\n"
                                        "我的Email：someone@example.com\r\n");

// An obviously fictitious eight-digit number, first text of Text2.
const QString kSampleNumber = QStringLiteral("12345678");

const QString kCopyright = QStringLiteral("版权所有 (C)2026 www.example.com");

} // namespace texts
