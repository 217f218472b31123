"""The program's fixed texts, written out once for the transcript cases.

Expected transcripts are plain str (Unicode); the runner encodes them as UTF-8
or GBK to match the locale it gives the program.
"""

BLANK = "\t$" + " " * 54 + "$\n"


def entry(text, spaces):
    return "\t$" + " " * 9 + text + " " * spaces + "$\n"


MENU = (
    "\n"
    "\t======================I LOVE C++========================\n"
    "\n"
    "\t*********************Quorvantile************************\n"
    + BLANK + BLANK
    + entry("1-Goldbach's Conjecture(哥德巴赫猜想)", 8) + BLANK
    + entry("2-CollatzConjecture(考拉兹猜想)", 14) + BLANK
    + entry("3-Nico Chester Theorem(尼彻斯特定理)", 9) + BLANK
    + entry("4-Four Square Theorem(四平方数和定理)", 8) + BLANK
    + entry("5-Sieve of Eratosthenes(筛选法找质数)", 8) + BLANK
    + entry("6-Bride & Groom(新娘和新郎)", 18) + BLANK
    + entry("7-Truth or Lie(真实或谎言)", 19) + BLANK
    + entry("8-Exit", 39) + BLANK
    + BLANK
    + "\t************  made for curious classrooms   ************\n"
)

PROMPT = "\n\tPlease choose:"
RETRY = "Invalid. Please choose again:"
OUT_OF_RANGE = "\n\t\tInvalid！\n"
PAUSE = "\n\tPRESS ANY KEY TO RETURN TO THE MENU.\n\n"

LADY = (
    "\t                 .::.                                      \n"
    "\t          `.    ::::::                                     \n"
    "\t            `.  `::::'  .'     I Love C++                  \n"
    "\t              `. .::. .'                                   \n"
    "\t                `::::::'                                   \n"
    "\t                  ::::                                     \n"
    "\t                .::::::.         drawn for Quorvantile     \n"
    "\t               ::::::::::                                  \n"
    "\t                `::::::'                                   \n"
    "\t                .::::::::.                                 \n"
    "\t              .::::::::::::.                               \n"
    "\t           .::::::::::::::::::.                            \n"
    "\t        .:::::::::::::::::::::::::.                        \n"
    "\t     .:::::::::::::::::::::::::::::::::..                  \n"
    "\t   .::::::::::::::::::::::::::::::::::::::::::...          \n"
    "\t  `::::::::::::::::::::::::::::::::::::::::::::::::::::::. \n"
    "\t     `'':::::'''````   :  :   ````'''':::::::::::::::::''` \n"
    "\t                      .'  `.                               \n"
)
FAREWELL = LADY + "\n\tThank you! ~~Bye~~\n\n"

# The menu shown, a choice typed, and the program ending at Exit.
START = MENU + PROMPT
EXIT = START + FAREWELL
# After a feature: the pause, a key, the menu again, and Exit.
BACK_AND_EXIT = PAUSE + MENU + PROMPT + FAREWELL

NOTICE = "\n\tNOTICE: Input 888 to Return to the Main Menu.\n"
NOTICE_88 = "\n\tNOTICE: Input 88 to Return to the Main Menu.\n"


class Case:
    """One scenario: the bytes typed or piped in, and the whole standard output."""

    def __init__(self, name, input, expected, status=0):
        self.name = name
        self.input = input if isinstance(input, bytes) else input.encode("utf-8")
        self.expected = expected
        self.status = status
