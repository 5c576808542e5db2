# The Debian package of the game, made by tools/package.sh (cpack -G DEB).
# It holds what cmake --install lays out, under /usr, and names what the
# game needs to run: the libraries the program links (found by
# dpkg-shlibdeps: Qt 6, SDL2 and below), Qt's platform plugins, and
# the IPA fonts the board and the menus are set in.  Fairy-Stockfish is
# recommended, so that a plain install can play against it and analyse
# its records with it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nirvex-shogi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Nirvex将棋 developers <nirvex-shogi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "6×6の盤で指す、持ち駒ありの将棋")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "玉、飛車、角、金、銀、桂馬と歩が一枚ずつの小さな将棋です。取った駒は\n"
  "持ち駒になり、打って使えます。コンピュータと三段階の強さで対局するほか、\n"
  "USI エンジン（Fairy-Stockfish など）を相手にも、一つの盤を囲んで二人でも\n"
  "遊べます。ヒント、棋譜の保存と再生、移動指導、経過時間、背景画とBGMの設定\n"
  "があります。")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-mincho, fonts-ipafont-gothic")
# The manual and the about box open pages in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fairy-stockfish")
include(CPack)
