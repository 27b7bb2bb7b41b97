<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>BoardScan</name>
    <message>
        <source>Неверные размеры сканирования платы</source>
        <translation>Invalid board scan dimensions</translation>
    </message>
    <message>
        <source>Плата слишком велика для сканирования</source>
        <translation>The board is too large to scan</translation>
    </message>
    <message>
        <source>Недостаточно памяти для сканирования платы</source>
        <translation>Not enough memory to scan the board</translation>
    </message>
    <message>
        <source>Сканирование платы не начато</source>
        <translation>The board scan has not been started</translation>
    </message>
    <message>
        <source>Нет изображения с камеры для сканирования</source>
        <translation>No camera image for the scan</translation>
    </message>
    <message>
        <source>Не задано имя файла</source>
        <translation>No file name given</translation>
    </message>
    <message>
        <source>Не удалось записать файл: </source>
        <translation>Could not write the file: </translation>
    </message>
</context>
<context>
    <name>Camera1Window</name>
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
</context>
<context>
    <name>Camera2Window</name>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Третья камера</source>
        <translation>Third camera</translation>
    </message>
</context>
<context>
    <name>CameraCapture</name>
    <message>
        <source>Не удалось захватить изображение с камеры!</source>
        <translation>Could not capture an image from the camera!</translation>
    </message>
</context>
<context>
    <name>CameraSettings</name>
    <message>
        <source>Настройки камер</source>
        <translation>Camera settings</translation>
    </message>
    <message>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Режим</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Экспозиция</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Третья камера</source>
        <translation>Third camera</translation>
    </message>
    <message>
        <source>Сжатие MJPEG (со следующего открытия камеры)</source>
        <translation>MJPEG compression (from the next camera opening)</translation>
    </message>
    <message>
        <source>Высокое разрешение 1280x960 (после перезапуска программы)</source>
        <translation>High resolution 1280x960 (after restarting the program)</translation>
    </message>
    <message>
        <source>Обновить список камер</source>
        <translation>Refresh the camera list</translation>
    </message>
    <message>
        <source>Имя, не начинающееся с /dev/, выбирает симулированную камеру: sim:board, sim:component, путь к картинке или к папке с картинками.</source>
        <translation>A name that does not start with /dev/ selects a simulated camera: sim:board, sim:component, the path of a picture or of a folder of pictures.</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Выбрать...</source>
        <translation>Choose...</translation>
    </message>
</context>
<context>
    <name>CameraView</name>
    <message>
        <source>Камера не выбрана.
Выберите её в настройках камер.</source>
        <translation>No camera selected.
Choose one in the camera settings.</translation>
    </message>
    <message>
        <source>Нет изображения с камеры
</source>
        <translation>No image from the camera
</translation>
    </message>
    <message>
        <source>Слишком много контуров!
 Измените настройки распознавания!</source>
        <translation>Too many contours!
 Change the recognition settings!</translation>
    </message>
    <message>
        <source>нет камеры</source>
        <translation>no camera</translation>
    </message>
    <message>
        <source>Увеличение</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Кадр</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Обработка</source>
        <translation>Processed</translation>
    </message>
    <message>
        <source>Контуры</source>
        <translation>Contours</translation>
    </message>
    <message>
        <source>Перекрестие</source>
        <translation>Cross</translation>
    </message>
    <message>
        <source>Снимок</source>
        <translation>Photo</translation>
    </message>
</context>
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
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Настройки камер</source>
        <translation>Camera settings</translation>
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
    <message>
        <source>Сканирование платы не начато</source>
        <translation>The board scan has not been started</translation>
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
