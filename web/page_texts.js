// The page's own words in each language it speaks, the language it
// starts in, and the environment that makes the program speak it too.
// A text may hold {name}s, filled in by say().

// The languages in the order the menu offers them, each by its own name.
export const LANGUAGES = ['en', 'ru', 'uk'];
export const LANGUAGE_NAMES = {en: 'English', ru: 'Русский', uk: 'Українська'};

// The locale the program is given for each language: gettext's choice
// (the program's platformLanguage) needs a UTF-8 locale as well as
// LANGUAGE, and English is the C locale's own.
const LOCALES = {en: 'C.UTF-8', ru: 'ru_RU.UTF-8', uk: 'uk_UA.UTF-8'};

export const PAGE_TEXTS = {
  en: {
    numbers: 'en',
    title: 'brown-robinson: a matrix game solved by fictitious play',
    intro: 'A two-person zero-sum matrix game solved approximately by alternating fictitious play' +
        ' (the Brown-Robinson method). Type your answers in the terminal.',
    language: 'Language',
    nextRun: 'Next run',
    exact: 'the exact solution as well',
    wide: 'the wide table',
    steps: 'the solution step by step',
    iterations: 'iterations (empty: asked)',
    accuracy: 'accuracy (empty: none)',
    openGameFile: 'Open a game file…',
    clearGameFile: 'Clear the game file',
    playAgain: 'Play again',
    gameFile: 'Game file: {name} (used from the next run)',
    programSection: 'The program',
    resultsSection: 'The results',
    loading: 'Loading the program…',
    running: 'The program is running.',
    waiting: 'The program has written its files and waits for a key to end.',
    endedWithKey: 'The program ended with {key}, exit status {status}.',
    endedFor: 'The program ended ({meaning}), exit status {status}.',
    ended: 'The program ended with exit status {status}.',
    status1: 'the input ended before the game was complete, or the output failed',
    status2: 'the command line was wrong',
    status130: 'interrupted with Ctrl+C',
    'key.Space': 'Space',
    'key.Up': 'Up',
    'key.Down': 'Down',
    'key.Left': 'Left',
    'key.Right': 'Right',
    tableLeftOut: 'The table of every iteration (.csv) is not written for {why}: at some 200' +
        ' bytes an iteration, a table of more than {largest} iterations would not fit in the' +
        ' page\'s memory.',
    forIterations: '{iterations} iterations',
    forAccuracy: 'a run to an accuracy without -n (up to {longest} iterations; with -n' +
        ' {largest} or fewer it is)',
    'file.svg': 'the picture of the run',
    'file.graph.svg': 'the graphical solution',
    'file.html': 'the report',
    'file.csv': 'the table',
    'file.nfg': 'the game for Gambit',
    'file.game': 'the game as a game file',
    'file.picture': 'a picture',
    'file.other': 'a file',
    'download.svg': 'Download the picture of the run ({name})',
    'download.graph.svg': 'Download the graphical solution ({name})',
    'download.html': 'Download the report ({name})',
    'download.csv': 'Download the table ({name})',
    'download.nfg': 'Download the game for Gambit ({name})',
    'download.game': 'Download the game as a game file ({name})',
    'download.picture': 'Download a picture ({name})',
    'download.other': 'Download a file ({name})',
  },
  ru: {
    numbers: 'ru',
    title: 'brown-robinson: матричная игра, решённая методом фиктивного разыгрывания',
    intro: 'Приближённое решение матричной игры двух лиц с нулевой суммой методом' +
        ' фиктивного разыгрывания с чередованием ходов (метод Брауна — Робинсон).' +
        ' Вводите ответы в терминале.',
    language: 'Язык',
    nextRun: 'Следующий запуск',
    exact: 'также точное решение',
    wide: 'широкая таблица',
    steps: 'решение по шагам',
    iterations: 'число итераций (пусто — будет запрошено)',
    accuracy: 'точность (пусто — без неё)',
    openGameFile: 'Открыть файл игры…',
    clearGameFile: 'Убрать файл игры',
    playAgain: 'Играть снова',
    gameFile: 'Файл игры: {name} (будет использован со следующего запуска)',
    programSection: 'Программа',
    resultsSection: 'Результаты',
    loading: 'Программа загружается…',
    running: 'Программа работает.',
    waiting: 'Программа записала свои файлы и ждёт нажатия клавиши для завершения.',
    endedWithKey: 'Программа завершилась клавишей «{key}», код завершения {status}.',
    endedFor: 'Программа завершилась ({meaning}), код завершения {status}.',
    ended: 'Программа завершилась с кодом {status}.',
    status1: 'ввод закончился раньше, чем игра была задана полностью, или не удался вывод',
    status2: 'ошибка в командной строке',
    status130: 'прервана клавишами Ctrl+C',
    'key.Space': 'Пробел',
    'key.Up': 'Стрелка вверх',
    'key.Down': 'Стрелка вниз',
    'key.Left': 'Стрелка влево',
    'key.Right': 'Стрелка вправо',
    tableLeftOut: 'Таблица всех итераций (.csv) не записывается {why}: она занимает около' +
        ' 200 байт на итерацию, и таблица более чем из {largest} итераций не поместится' +
        ' в памяти страницы.',
    forIterations: 'при числе итераций {iterations}',
    forAccuracy: 'при расчёте до заданной точности без -n (до {longest} итераций; с -n' +
        ' не более {largest} она записывается)',
    'file.svg': 'график оценок по итерациям',
    'file.graph.svg': 'графическое решение',
    'file.html': 'отчёт',
    'file.csv': 'таблица',
    'file.nfg': 'игра для Gambit',
    'file.game': 'игра в виде файла игры',
    'file.picture': 'рисунок',
    'file.other': 'файл',
    'download.svg': 'Скачать график оценок по итерациям ({name})',
    'download.graph.svg': 'Скачать графическое решение ({name})',
    'download.html': 'Скачать отчёт ({name})',
    'download.csv': 'Скачать таблицу ({name})',
    'download.nfg': 'Скачать игру для Gambit ({name})',
    'download.game': 'Скачать игру в виде файла игры ({name})',
    'download.picture': 'Скачать рисунок ({name})',
    'download.other': 'Скачать файл ({name})',
  },
  uk: {
    numbers: 'uk',
    title: 'brown-robinson: матрична гра, розв’язана методом фіктивного розігрування',
    intro: 'Наближений розв’язок матричної гри двох осіб з нульовою сумою методом' +
        ' фіктивного розігрування з чергуванням ходів (метод Брауна — Робінсон).' +
        ' Вводьте відповіді в терміналі.',
    language: 'Мова',
    nextRun: 'Наступний запуск',
    exact: 'також точний розв’язок',
    wide: 'широка таблиця',
    steps: 'розв’язок крок за кроком',
    iterations: 'кількість ітерацій (порожньо — буде запитано)',
    accuracy: 'точність (порожньо — без неї)',
    openGameFile: 'Відкрити файл гри…',
    clearGameFile: 'Прибрати файл гри',
    playAgain: 'Грати знову',
    gameFile: 'Файл гри: {name} (буде використано з наступного запуску)',
    programSection: 'Програма',
    resultsSection: 'Результати',
    loading: 'Програма завантажується…',
    running: 'Програма працює.',
    waiting: 'Програма записала свої файли й чекає натискання клавіші, щоб завершитися.',
    endedWithKey: 'Програма завершилася клавішею «{key}», код завершення {status}.',
    endedFor: 'Програма завершилася ({meaning}), код завершення {status}.',
    ended: 'Програма завершилася з кодом {status}.',
    status1: 'введення закінчилося раніше, ніж гру було задано повністю, або не вдалося виведення',
    status2: 'помилка в командному рядку',
    status130: 'перервана клавішами Ctrl+C',
    'key.Space': 'Пробіл',
    'key.Up': 'Стрілка вгору',
    'key.Down': 'Стрілка вниз',
    'key.Left': 'Стрілка ліворуч',
    'key.Right': 'Стрілка праворуч',
    tableLeftOut: 'Таблицю всіх ітерацій (.csv) не записано {why}: вона займає близько' +
        ' 200 байтів на ітерацію, і таблиця з понад {largest} ітерацій не вміститься' +
        ' в пам’яті сторінки.',
    forIterations: 'за кількості ітерацій {iterations}',
    forAccuracy: 'для розрахунку до заданої точності без -n (до {longest} ітерацій; з -n' +
        ' не більше {largest} її записують)',
    'file.svg': 'графік оцінок за ітераціями',
    'file.graph.svg': 'графічний розв’язок',
    'file.html': 'звіт',
    'file.csv': 'таблиця',
    'file.nfg': 'гра для Gambit',
    'file.game': 'гра у вигляді файлу гри',
    'file.picture': 'малюнок',
    'file.other': 'файл',
    'download.svg': 'Завантажити графік оцінок за ітераціями ({name})',
    'download.graph.svg': 'Завантажити графічний розв’язок ({name})',
    'download.html': 'Завантажити звіт ({name})',
    'download.csv': 'Завантажити таблицю ({name})',
    'download.nfg': 'Завантажити гру для Gambit ({name})',
    'download.game': 'Завантажити гру у вигляді файлу гри ({name})',
    'download.picture': 'Завантажити малюнок ({name})',
    'download.other': 'Завантажити файл ({name})',
  },
};

export const ENGLISH = PAGE_TEXTS.en;

// The text of `key` in `texts` (a language's table), its {name}s filled
// from `values`.
export function say(texts, key, values = {}) {
  return fill(texts[key], values);
}

export function fill(text, values) {
  return text.replace(/\{(\w+)\}/g, (whole, name) => (name in values ? values[name] : whole));
}

// The first of the browser's languages (navigator.languages, "uk-UA",
// "ru", "en-GB") the page speaks; English when it speaks none of them.
export function browserLanguage(languages) {
  for (const tag of languages || []) {
    const primary = String(tag).toLowerCase().split(/[-_]/)[0];
    if (LANGUAGES.includes(primary)) return primary;
  }
  return 'en';
}

// The environment of the program, as NAME=value strings, for it to speak
// `language`.
export function programEnvironment(language) {
  if (language === 'en') return [`LANG=${LOCALES.en}`];
  return [`LANGUAGE=${language}`, `LANG=${LOCALES[language]}`];
}
