import os
from typing import IO, Iterable, List, Literal, Optional, Tuple, Union

import pandas

Source = Union[str, os.PathLike, bytes, bytearray, memoryview]
Pages = Union[None, str, int, Iterable[int]]
Format = Literal["xls", "xlsx", "csv"]
FORMATS: Tuple[str, ...]

class Error(Exception):
    file: str
    cause: str
    def __init__(self, file: str, cause: str, remedy: str = ...) -> None: ...

class PasswordError(Error): ...
class DamagedFileError(Error): ...
class UnsupportedFileError(Error): ...

class Result:
    input: str
    output: Optional[str]
    format: str
    pages_total: int
    pages_converted: int
    failed_pages: List[Tuple[int, str]]
    notes: List[str]
    worksheets: int
    status: int
    @property
    def messages(self) -> List[str]: ...

def read_pdf(
    path_or_bytes: Source,
    pages: Pages = ...,
    password: Optional[str] = ...,
    header: Optional[bool] = ...,
    name: Optional[str] = ...,
    *,
    pages_per_sheet: int = ...,
    paper: str = ...,
    image_quality: int = ...,
    text_cells: bool = ...,
    cells_as_drawn: bool = ...,
    page_grid: bool = ...,
    plain_sheet: bool = ...,
    any_version: bool = ...,
) -> List[pandas.DataFrame]: ...

def convert(
    src: Source,
    dst: Union[str, os.PathLike, IO[bytes]],
    format: Optional[Format] = ...,
    pages: Pages = ...,
    password: Optional[str] = ...,
    name: Optional[str] = ...,
    *,
    pages_per_sheet: int = ...,
    paper: str = ...,
    image_quality: int = ...,
    text_cells: bool = ...,
    cells_as_drawn: bool = ...,
    page_grid: bool = ...,
    plain_sheet: bool = ...,
    csv_values: bool = ...,
    force: bool = ...,
    any_version: bool = ...,
) -> Result: ...
