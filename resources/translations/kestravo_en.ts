<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ErrorWindow</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MachineStatePanel</name>
    <message>
        <source>LinuxCNC запущен</source>
        <translation>LinuxCNC running</translation>
    </message>
    <message>
        <source>Запуск LinuxCNC...</source>
        <translation>Starting LinuxCNC...</translation>
    </message>
    <message>
        <source>LinuxCNC остановлен</source>
        <translation>LinuxCNC stopped</translation>
    </message>
    <message>
        <source>Машина включена</source>
        <translation>Machine on</translation>
    </message>
    <message>
        <source>Машина выключена</source>
        <translation>Machine off</translation>
    </message>
    <message>
        <source>Оси в исходной</source>
        <translation>Axes homed</translation>
    </message>
    <message>
        <source>Оси не в исходной</source>
        <translation>Axes not homed</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Машина</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>Запустить LinuxCNC</source>
        <translation>Start LinuxCNC</translation>
    </message>
    <message>
        <source>Запуск LinuxCNC...</source>
        <translation>Starting LinuxCNC...</translation>
    </message>
    <message>
        <source>Остановить LinuxCNC</source>
        <translation>Stop LinuxCNC</translation>
    </message>
    <message>
        <source>Включить машину</source>
        <translation>Turn machine on</translation>
    </message>
    <message>
        <source>Выключить машину</source>
        <translation>Turn machine off</translation>
    </message>
    <message>
        <source>Аварийный стоп</source>
        <translation>Emergency stop</translation>
    </message>
    <message>
        <source>Окна</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Закрыть все окна</source>
        <translation>Close all windows</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>NozzleOnHeadWarning</name>
    <message>
        <source>Насадка на головке</source>
        <translation>Nozzle on head</translation>
    </message>
    <message>
        <source>На головке осталась насадка. Верните её в держатель перед выключением или закройте программу всё равно.</source>
        <translation>A nozzle is still on the head. Return it to its holder before shutting down, or close the program anyway.</translation>
    </message>
    <message>
        <source>Закрыть программу</source>
        <translation>Close program</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Worker</name>
    <message>
        <source>Права пользователя для приложения заданы неправильно!</source>
        <translation>User permissions for the application are set incorrectly!</translation>
    </message>
    <message>
        <source>Не удалось записать файл настроек: %1</source>
        <translation>Failed to write settings file: %1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Kestravo — установщик компонентов</source>
        <translation>Kestravo — component placer</translation>
    </message>
    <message>
        <source>Окно недоступно: </source>
        <translation>Window not available: </translation>
    </message>
    <message>
        <source>Файл проекта не найден: </source>
        <translation>Project file not found: </translation>
    </message>
    <message>
        <source>Есть несохранённые изменения проекта или банков питателей.</source>
        <translation>There are unsaved changes to the project or feeder banks.</translation>
    </message>
    <message>
        <source>Ошибка: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>LinuxCNC запущен</source>
        <translation>LinuxCNC running</translation>
    </message>
    <message>
        <source>LinuxCNC остановлен</source>
        <translation>LinuxCNC stopped</translation>
    </message>
    <message>
        <source>Не удалось запустить LinuxCNC</source>
        <translation>Failed to start LinuxCNC</translation>
    </message>
    <message>
        <source>Ошибка LinuxCNC: </source>
        <translation>LinuxCNC error: </translation>
    </message>
    <message>
        <source>Невозможно запустить второй экземпляр программы!</source>
        <translation>Cannot start a second instance of the program!</translation>
    </message>
    <message>
        <source>Программа запущена</source>
        <translation>Program started</translation>
    </message>
</context>
</TS>
